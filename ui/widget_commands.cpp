#include "ui/widget_commands.h"

#include <QAction>
#include <QKeyEvent>
#include <QWidget>

#include "ui/error_box.h"

namespace isoquill {
namespace {

// Sees the key before the widget does, so that the widget's own meaning of
// the key (a line edit's paste, a view's copy of one cell) yields to it.
class StandardKeyFilter : public QObject {
public:
    StandardKeyFilter(QWidget* widget, QKeySequence::StandardKey key, std::function<bool()> handler)
        : QObject(widget), key_(key), handler_(std::move(handler)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !static_cast<QKeyEvent*>(event)->matches(key_)) return false;
        bool handled = true;
        runGuarded([this, &handled] { handled = handler_(); });
        return handled;
    }

private:
    QKeySequence::StandardKey key_;
    std::function<bool()> handler_;
};

}  // namespace

void onStandardKey(QWidget* widget, QKeySequence::StandardKey key, std::function<bool()> handler) {
    new StandardKeyFilter(widget, key, std::move(handler));
}

void addContextMenuEntry(QWidget* widget, const QString& text, std::function<void()> handler) {
    widget->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* entry = new QAction(text, widget);
    QObject::connect(entry, &QAction::triggered, widget, [handler = std::move(handler)] { runGuarded(handler); });
    widget->addAction(entry);
}

}  // namespace isoquill
