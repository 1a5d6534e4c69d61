// The result grid (StringGrid2): a view over the result list. A row's texts
// are made when the row is shown, so a million rows cost their candidates'
// numbers and nothing more.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>

#include <thread>

#include "fragment/result_table.h"

class ResultModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // As ausgeben writes it: the grid down to five blank rows, then one row a
    // candidate (at least one), the written ones from row 0 on.
    void setTable(isoquill::ResultTable table);
    const isoquill::ResultTable& table() const { return table_; }

private:
    void resize(int rows);

    isoquill::ResultTable table_;
    int rows_ = 1;
};

class ResultGrid : public QTableView {
    Q_OBJECT
public:
    ResultGrid(int rowHeight, QWidget* parent);

    int rowCount() const { return model_->rowCount(); }
    int columnCount() const { return model_->columnCount(); }
    QString cell(int col, int row) const;  // "" for a blank cell
    void setTable(isoquill::ResultTable table) { model_->setTable(std::move(table)); }

    // What Ctrl+C and "Copy table" put on the clipboard: a header line, then
    // every written row, not only those on screen, as the grid shows it
    // unclipped but without the " : " that rules its columns, and the
    // formula as plain as a click takes it (resultTableText).
    QString copyText() const;

    // The top row of the current selection; the current row when nothing is
    // selected, and 0 before the grid ever had a current cell.
    int selectionTop() const;

Q_SIGNALS:
    // Any mouse button pressed over the cells. A left press over a cell has
    // moved the selection there first; other presses keep the selection.
    void mouseDown(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    // A small table goes to the clipboard at once. A large one is written on
    // a thread of its own from a copy of the rows: the window goes on, and a
    // new Generate meanwhile does not change what lands. A new copy replaces it.
    void copyToClipboard();

    ResultModel* model_;
    std::jthread copier_;  // stopped and joined before the grid goes
};
