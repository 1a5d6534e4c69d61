#include "fragment/result_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMouseEvent>

#include <algorithm>

#include "ui/latin1_text.h"
#include "ui/string_grid.h"
#include "ui/table_copy.h"

using isoquill::fromLatin1;

namespace {

constexpr int resultColumnCount = 4;
constexpr int blankedRows = 5;  // ausgeben blanks these before it sizes the grid
// Rows written in about 20 ms: more go to the clipboard from a thread.
constexpr std::size_t copyOnThreadFrom = 20'000;

}  // namespace

int ResultModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int ResultModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : resultColumnCount; }

QVariant ResultModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (!index.isValid() || row >= table_.rows.size()) return QString();
    return fromLatin1(isoquill::resultRowTexts(table_, row)[static_cast<std::size_t>(index.column())]);
}

Qt::ItemFlags ResultModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void ResultModel::setTable(isoquill::ResultTable table) {
    // The old list goes first: its memory is free before the next is used.
    table_ = isoquill::ResultTable();
    resize(std::min(rows_, blankedRows));
    table_ = std::move(table);
    resize(static_cast<int>(std::max<std::size_t>(table_.candidateCount, 1)));
    Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, resultColumnCount - 1));
}

// Row by row as a string grid's row count changes: the rows kept keep the
// current cell and the selection.
void ResultModel::resize(int rows) {
    if (rows < rows_) {
        beginRemoveRows({}, rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    } else if (rows > rows_) {
        beginInsertRows({}, rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    }
}

ResultGrid::ResultGrid(int rowHeight, QWidget* parent) : QTableView(parent), model_(new ResultModel(this)) {
    setModel(model_);
    setUpGridView(*this, rowHeight);
    // Like the system's grids, start on the first cell.
    setCurrentIndex(model_->index(0, 0));
    isoquill::installCopyCommand(this, [this] { copyToClipboard(); });
}

QString ResultGrid::cell(int col, int row) const { return model_->index(row, col).data().toString(); }

QString ResultGrid::copyText() const { return fromLatin1(isoquill::resultTableText(model_->table())); }

void ResultGrid::copyToClipboard() {
    if (model_->table().rows.size() < copyOnThreadFrom) {
        QApplication::clipboard()->setText(copyText());
        return;
    }
    // Assigning stops and joins a copy still being written: this one replaces it.
    copier_ = std::jthread([this, rows = model_->table()](std::stop_token stop) {
        const QString text = fromLatin1(isoquill::resultTableText(rows, stop));
        if (stop.stop_requested()) return;
        QMetaObject::invokeMethod(this, [text] { QApplication::clipboard()->setText(text); }, Qt::QueuedConnection);
    });
}

int ResultGrid::selectionTop() const {
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty()) return std::max(currentIndex().row(), 0);
    int top = selection.first().top();
    for (const QItemSelectionRange& range : selection) top = std::min(top, range.top());
    return top;
}

void ResultGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && pressed.isValid()) QTableView::mousePressEvent(event);
    Q_EMIT mouseDown(event->button());
}
