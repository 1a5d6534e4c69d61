// The plot window TForm12: the aligned observed (red) and simulated (blue)
// peak groups of the last comparison as a bar chart filling the window.
#pragma once

#include <QWidget>

#include "compare/comparison.h"

class TForm12 : public QWidget {
    Q_OBJECT
public:
    // Draws `comparison` whenever it paints; it keeps no data of its own.
    explicit TForm12(const isoquill::Comparison& comparison, QWidget* parent = nullptr);

    // Asks PaintBox1 to repaint from the current comparison, shown or not.
    void PaintBox1Paint();

    // Shows the window over the others without taking the focus from the
    // window the user types in.
    void showInFront();

private:
    QWidget* PaintBox1;
};
