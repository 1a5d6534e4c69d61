// A whole table on the clipboard as tab-separated text, the form a lab
// notebook or a spreadsheet takes: header row first, one line per row.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QTableView;
class QWidget;

namespace isoquill {

// Every row a line ending in "\n", its cells joined by tabs. A cell is its
// full text without the blanks that pad it, never the part a column is wide
// enough to show. Blank rows at the end are left out.
QString tableText(const QList<QStringList>& rows);

// One line of tableText, appended to `text`: for tables too long to hold
// every row's cells at once.
void appendTableLine(QString& text, const QStringList& cells);

// The display texts of every row of `view`'s model, not only those on
// screen. The grids show their header as their first row, so it comes first.
QList<QStringList> viewRows(const QTableView& view);

// Ctrl+C on `widget` and the entry "Copy table" of its context menu run
// copy(), which sees to the clipboard itself.
void installCopyCommand(QWidget* widget, std::function<void()> copy);

// The same, putting text() on the clipboard.
void installTableCopy(QWidget* widget, std::function<QString()> text);

// The same for a table view, copying viewRows(view).
void installTableCopy(QTableView* view);

}  // namespace isoquill
