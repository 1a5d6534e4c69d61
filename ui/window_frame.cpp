#include "ui/window_frame.h"

#include <QFrame>

namespace isoquill {

void setFixedSingleBorder(QWidget* window, int left, int top, int clientWidth, int clientHeight) {
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window->setFixedSize(clientWidth, clientHeight);
    window->move(left, top);
}

QFrame* makePanel(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(left, top, width, height);
    return panel;
}

}  // namespace isoquill
