// Commands added to a widget beside its own: a standard key such as Ctrl+C,
// and an entry in its context menu.
#pragma once

#include <QKeySequence>
#include <QString>

#include <functional>

class QWidget;

namespace isoquill {

// Runs `handler` guarded when `key` is pressed on `widget`. A handler that
// returns false leaves the key to the widget, which then acts as it would.
void onStandardKey(QWidget* widget, QKeySequence::StandardKey key, std::function<bool()> handler);

// An entry `text` of the widget's context menu that runs `handler` guarded.
// The menu lists such entries in the order they were added.
void addContextMenuEntry(QWidget* widget, const QString& text, std::function<void()> handler);

}  // namespace isoquill
