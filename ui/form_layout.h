// Building blocks of the windows' fixed layouts: every control sits at the
// pixel position the layout gives, relative to its parent's client area.
#pragma once

#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;

namespace isoquill {

// A single border that cannot be resized, a title bar with system menu and
// minimise button and no maximise button; the window at (left, top) on the
// screen with a fixed client area.
void setFixedSingleBorder(QWidget* window, int left, int top, int clientWidth, int clientHeight);

// A raised panel.
QFrame* makePanel(QWidget* parent, const char* name, int left, int top, int width, int height);

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                        int height);

// A label as wide as its caption, so a wider substitute font is never cut.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top);

}  // namespace isoquill
