#include "ui/form_layout.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

#include "ui/fonts.h"

namespace isoquill {

void setFixedSingleBorder(QWidget* window, int left, int top, int clientWidth, int clientHeight) {
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window->setFixedSize(clientWidth, clientHeight);
    window->move(left, top);
}

QFrame* makePanel(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* panel = place(new QFrame(parent), name, left, top, width, height);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return panel;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                        int height) {
    return place(new QPushButton(caption, parent), name, left, top, width, height);
}

QTextEdit* makeMemo(QWidget* parent, const char* name, int left, int top, int width, int height, const QString& text,
                    Qt::Alignment alignment) {
    auto* memo = place(new QTextEdit(parent), name, left, top, width, height);
    memo->setReadOnly(true);
    memo->setFont(msSansSerif(13));
    QPalette colours = memo->palette();
    colours.setColor(QPalette::Text, Qt::black);
    memo->setPalette(colours);
    memo->setPlainText(text);
    memo->selectAll();
    memo->setAlignment(alignment);
    memo->moveCursor(QTextCursor::Start);
    return memo;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

}  // namespace isoquill
