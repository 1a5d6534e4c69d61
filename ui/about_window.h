// The About window TForm10: what the program does, and how to reach its makers.
#pragma once

#include <QWidget>

class QPushButton;

class TForm10 : public QWidget {
    Q_OBJECT
public:
    explicit TForm10(QWidget* parent = nullptr);

    // Shows the window, or brings it to the front when it is open.
    void showInFront();

protected:
    void changeEvent(QEvent* event) override;  // FormActivate

private:
    QPushButton* Button1;
};
