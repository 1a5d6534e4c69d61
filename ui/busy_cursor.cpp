#include "ui/busy_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace isoquill {

BusyCursor::BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

BusyCursor::~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }

}  // namespace isoquill
