#include "ui/table_copy.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QTableView>

#include <algorithm>
#include <utility>

#include "ui/widget_commands.h"

namespace isoquill {
namespace {

bool isBlankRow(const QStringList& row) {
    return std::all_of(row.begin(), row.end(), [](const QString& cell) { return cell.trimmed().isEmpty(); });
}

}  // namespace

QString tableText(const QList<QStringList>& rows) {
    qsizetype end = rows.size();
    while (end > 0 && isBlankRow(rows[end - 1])) --end;
    QString text;
    for (qsizetype r = 0; r < end; ++r) appendTableLine(text, rows[r]);
    return text;
}

void appendTableLine(QString& text, const QStringList& cells) {
    for (qsizetype col = 0; col < cells.size(); ++col) {
        if (col > 0) text += QLatin1Char('\t');
        text += cells[col].trimmed();
    }
    text += QLatin1Char('\n');
}

QList<QStringList> viewRows(const QTableView& view) {
    const QAbstractItemModel& model = *view.model();
    QList<QStringList> rows;
    rows.reserve(model.rowCount());
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList row;
        for (int col = 0; col < model.columnCount(); ++col) row << model.index(r, col).data().toString();
        rows << row;
    }
    return rows;
}

void installCopyCommand(QWidget* widget, std::function<void()> copy) {
    onStandardKey(widget, QKeySequence::Copy, [copy] {
        copy();
        return true;
    });
    addContextMenuEntry(widget, QStringLiteral("Copy table"), std::move(copy));
}

void installTableCopy(QWidget* widget, std::function<QString()> text) {
    installCopyCommand(widget, [text = std::move(text)] { QApplication::clipboard()->setText(text()); });
}

void installTableCopy(QTableView* view) {
    installTableCopy(view, [view] { return tableText(viewRows(*view)); });
}

}  // namespace isoquill
