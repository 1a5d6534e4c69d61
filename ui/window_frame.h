// The frame the program's fixed windows share: a single border that cannot
// be resized, a title bar with system menu and minimise button, no maximise.
#pragma once

class QFrame;
class QWidget;

namespace isoquill {

// Places `window` at (left, top) on the screen with a fixed client area.
void setFixedSingleBorder(QWidget* window, int left, int top, int clientWidth, int clientHeight);

// A raised panel at (left, top) of `parent`.
QFrame* makePanel(QWidget* parent, const char* name, int left, int top, int width, int height);

}  // namespace isoquill
