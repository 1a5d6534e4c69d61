// The missing-data message TForm7 ("Fehlende Daten"): shown, without
// waiting for the user, for a formula symbol that has no element data.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

class TForm7 : public QWidget {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);

    // Label1 := the symbol as the formula table holds it (a one-letter
    // symbol keeps its leading blank), then shown in front.
    void showMissingData(const QString& symbol);

protected:
    void changeEvent(QEvent* event) override;        // FormActivate
    void mouseReleaseEvent(QMouseEvent* event) override;  // a click on the background

private:
    void Button1Click();

    QLabel* Label1;
    QPushButton* Button1;
};
