// Tells when the keyboard focus enters a page (a widget and its children)
// from outside it, and when it leaves it. Only moves within the page's own
// window count: activating another window and coming back is neither, so a
// secondary window shown over the page does not look like leaving it.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace isoquill {

class PageFocus : public QObject {
    Q_OBJECT
public:
    explicit PageFocus(QWidget* page);  // owned by the page

Q_SIGNALS:
    void entered();
    void left();

private:
    void focusChanged(QWidget* now);
    bool inPage(const QWidget* widget) const;

    QWidget* page_;
    QPointer<QWidget> last_;  // the last focus widget seen in the page's window
};

}  // namespace isoquill
