// A string grid as both pages use it: cells addressed (column, row)
// from 0 as the system numbers them, with leading fixed rows and columns that
// look like headers and are never selected, edited or tabbed into.
#pragma once

#include <QTableWidget>

// The look both kinds of grid share: no headers, every row `rowHeight` pixels
// high, text clipped at the cell edge and never elided, contiguous selection.
void setUpGridView(QTableView& view, int rowHeight);

class StringGrid : public QTableWidget {
    Q_OBJECT
public:
    // Every row is `rowHeight` pixels high; text is clipped at the cell edge,
    // never elided. The fixed cells exist from here on, so the grid's size
    // must not change when it has any.
    StringGrid(int colCount, int rowCount, int fixedRows, int fixedCols, int rowHeight, QWidget* parent);

    QString cell(int col, int row) const;  // "" for a cell never written
    void setCell(int col, int row, const QString& text);
    void blankRow(int row);

    // An open cell editor's text goes into its cell and the editor closes, as
    // when the focus leaves it. For handlers reached without moving the focus
    // (a button's accelerator), so that they read what the user sees.
    void endEditing();

    // The top row of the current selection; the current row when nothing is
    // selected, and 0 before the grid ever had a current cell.
    int selectionTop() const;

Q_SIGNALS:
    // Any mouse button pressed over the cells. A left press over a cell has
    // moved the selection there first; other presses keep the selection.
    void mouseDown(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
