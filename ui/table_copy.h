// A whole table on the clipboard as tab-separated text, the form a lab
// notebook or a spreadsheet takes: header row first, one line per row.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QAbstractItemModel;
class QWidget;

namespace isoquill {

// Every row a line ending in "\n", its cells joined by tabs. A cell is its
// full text without the blanks that pad it, never the part a column is wide
// enough to show. Blank rows at the end are left out.
QString tableText(const QList<QStringList>& rows);

// The display texts of every row of `model`, in order.
QList<QStringList> modelRows(const QAbstractItemModel& model);

// Ctrl+C on `widget` and the entry "Copy table" of its context menu put
// tableText(rows()) on the clipboard.
void installTableCopy(QWidget* widget, std::function<QList<QStringList>()> rows);

}  // namespace isoquill
