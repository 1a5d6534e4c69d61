// The missing-data message TForm7 ("Fehlende Daten"): shown, without
// waiting for the user, for a formula symbol that has no element data.
#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QPushButton;
class QTextEdit;

class TForm7 : public QWidget {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);

    // Label1 := the symbol as the formula table holds it (a one-letter
    // symbol keeps its leading blank), then shown in front. Inside a run the
    // memo's third line names every symbol the run has met once it has met
    // more than one; a run started by typing leaves the focus where it is.
    void showMissingData(const QString& symbol);

protected:
    void changeEvent(QEvent* event) override;        // FormActivate
    void mouseReleaseEvent(QMouseEvent* event) override;  // a click on the background

private:
    friend class MissingDataRun;

    void Button1Click();
    void nameSymbols(const QString& names);

    QTextEdit* Memo1;
    QLabel* Label1;
    QPushButton* Button1;

    bool inRun_ = false;
    bool runTyped_ = false;
    QStringList runSymbols_;  // without leading blanks, each once
    bool raisedByTyping_ = false;
};

// One run of the comparison chain, from its start to its end (an error
// included): the notices it raises are named together. A run started by
// typing in a formula field shows the window without taking the focus, and
// when it meets no symbol without data it hides a window that typing raised,
// so a symbol met on the way to a longer one leaves nothing behind.
class MissingDataRun {
public:
    enum class Start { Typing, Other };
    MissingDataRun(TForm7* window, Start start);  // window may be null
    ~MissingDataRun();
    MissingDataRun(const MissingDataRun&) = delete;
    MissingDataRun& operator=(const MissingDataRun&) = delete;

private:
    TForm7* window_;
};
