// The Compare page (TabSheet1): the formula, the observed peaks typed one by
// one, and the comparison table StringGrid4. Every formula change, Add and
// Delete reruns the whole comparison chain.
#pragma once

#include <QWidget>

#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class StringGrid;
class ProgramContext;

class ComparePage : public QWidget {
    Q_OBJECT
public:
    ComparePage(ProgramContext& form, QWidget* parent);

    // The comparison for `text`, shown in StringGrid4 and the plot; a text the
    // syntax check refuses leaves the data rows empty and nothing more.
    void Vergleich_handle(const QString& text);

    // The table and plot of a comparison the chain has just run, from the
    // compare state; an empty error (the syntax check refused the text)
    // leaves the data rows empty and nothing more.
    void showComparison(const std::optional<long double>& error);

    // FormCreate: StringGrid4 from its laid-out 5 columns to the 6 of the table.
    void setComparisonColumns();

protected:
    // The formula field shows the formula of the comparison the table shows
    // as soon as the page is in front, entered or not.
    void showEvent(QShowEvent* event) override;
    // Notes how the focus reached a control of the page, for TabSheet1Enter.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Edit2Change();
    void Edit2KeyPress();
    void Edit3KeyPress();
    void Edit4KeyPress();
    void Button3Click();
    void Button4Click();
    void ListBox2Click();
    void TabSheet1Enter();
    void TabSheet1Exit();

    void compareFormula(const QString& text, bool typed);
    void init_boxen2();
    void writeComparison(long double error);
    void writeCell(int col, int row, const std::string& text);
    void refreshPeakList();

    // The clipboard's peak list added as Add would add each line, then one
    // comparison; refused lines are named in the error box.
    void pastePeakList();
    void installClipboardCommands();
    // Every peak removed, then one comparison.
    void clearPeakList();

    Qt::FocusReason focusReason_ = Qt::OtherFocusReason;  // of the last focus that came into the page

    ProgramContext& form_;

    QLabel* Label8;
    QLineEdit* Edit2;
    QLabel* Masse;
    QLabel* Label9;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QPushButton* Button3;
    StringGrid* StringGrid4;
    QListWidget* ListBox2;
    QPushButton* Button4;
};
