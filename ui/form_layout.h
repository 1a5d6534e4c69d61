// Building blocks of the windows' fixed layouts: every control sits at the
// pixel position the layout gives, relative to its parent's client area.
#pragma once

#include <QString>
#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
class QTextEdit;

namespace isoquill {

// Gives a control its system name and puts it at its place in its parent.
template <class Widget>
Widget* place(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

// A single border that cannot be resized, a title bar with system menu and
// minimise button and no maximise button; the window at (left, top) on the
// screen with a fixed client area.
void setFixedSingleBorder(QWidget* window, int left, int top, int clientWidth, int clientHeight);

// A raised panel.
QFrame* makePanel(QWidget* parent, const char* name, int left, int top, int width, int height);

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                        int height);

// A read-only memo in black "MS Sans Serif" 13 pixels, every line of `text`
// aligned by `alignment`, shown from its start.
QTextEdit* makeMemo(QWidget* parent, const char* name, int left, int top, int width, int height, const QString& text,
                    Qt::Alignment alignment);

// A label as wide as its caption, so a wider substitute font is never cut.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top);

}  // namespace isoquill
