#include "ui/string_grid.h"

#include <QHeaderView>
#include <QMouseEvent>

#include <algorithm>

void setUpGridView(QTableView& view, int rowHeight) {
    view.horizontalHeader()->hide();
    view.verticalHeader()->hide();
    view.verticalHeader()->setMinimumSectionSize(1);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(rowHeight);
    view.horizontalHeader()->setMinimumSectionSize(1);
    view.setTextElideMode(Qt::ElideNone);
    view.setWordWrap(false);
    view.setSelectionMode(QAbstractItemView::ContiguousSelection);
}

StringGrid::StringGrid(int colCount, int rowCount, int fixedRows, int fixedCols, int rowHeight, QWidget* parent)
    : QTableWidget(rowCount, colCount, parent) {
    setUpGridView(*this, rowHeight);

    // Disabled items are what keyboard navigation skips; the explicit
    // foreground keeps their text from being greyed out.
    for (int row = 0; row < rowCount; ++row) {
        for (int col = 0; col < colCount; ++col) {
            if (row >= fixedRows && col >= fixedCols) continue;
            auto* fixed = new QTableWidgetItem;
            fixed->setFlags(Qt::NoItemFlags);
            fixed->setBackground(palette().button());
            fixed->setForeground(palette().buttonText());
            setItem(row, col, fixed);
        }
    }
    // Like the system's grids, start on the first cell that is not fixed.
    if (rowCount > fixedRows && colCount > fixedCols) setCurrentCell(fixedRows, fixedCols);
}

QString StringGrid::cell(int col, int row) const {
    const QTableWidgetItem* cellItem = item(row, col);
    return cellItem ? cellItem->text() : QString();
}

// A cell outside the grid is not written: the table would not take the item.
void StringGrid::setCell(int col, int row, const QString& text) {
    if (col < 0 || col >= columnCount() || row < 0 || row >= rowCount()) return;
    if (QTableWidgetItem* cellItem = item(row, col)) {
        cellItem->setText(text);
        return;
    }
    setItem(row, col, new QTableWidgetItem(text));
}

void StringGrid::blankRow(int row) {
    for (int col = 0; col < columnCount(); ++col) setCell(col, row, QString());
}

void StringGrid::endEditing() {
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

int StringGrid::selectionTop() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty()) return std::max(currentRow(), 0);
    int top = ranges.first().topRow();
    for (const QTableWidgetSelectionRange& range : ranges) top = std::min(top, range.topRow());
    return top;
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && pressed.isValid() && (pressed.flags() & Qt::ItemIsEnabled))
        QTableWidget::mousePressEvent(event);
    Q_EMIT mouseDown(event->button());
}
