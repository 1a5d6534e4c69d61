// The Fragment page (TabSheet4): formula, range grid, target mass, tolerance,
// Generate and the result grid; a click on a result hands it to the comparison.
#pragma once

#include <QWidget>

#include "fragment/enumeration.h"

class QCheckBox;
class QComboBox;
class QEventLoop;
class QLabel;
class QLineEdit;
class QPushButton;
class ResultGrid;
class StringGrid;
class ProgramContext;
namespace isoquill {
struct CompareState;
struct GenerateResult;
}

class FragmentPage : public QWidget {
    Q_OBJECT
public:
    FragmentPage(ProgramContext& form, QWidget* parent);

    // The main window's FormCreate steps that belong to this page.
    void clearRangeTable();            // rangeTable all zero
    void writeRangeGridHeader();       // "Element", " von ", " bis"
    void setInitialResultColumnWidths();  // StringGrid2 columns 80, 60, 40
    void setSearchDefaults();          // massTolerance 0.5, targetMass 0

    // PageControl1Enter: StringGrid2 columns 0 and 1 back to 80 and 60.
    void PageControl1Enter();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Edit11Change();
    void TabSheet4Enter();
    void Edit12Change();
    void Edit13Exit();
    void Button5Click();
    void StringGrid2MouseDown();
    void CheckBox1Click();
    void CheckBox2Click();
    void ComboBox1Change();

    void clearRangeGrid();
    void writeRangeRow(int row);
    void takeRangeGrid();
    void showTargetMass();
    void takeObservedTarget();
    void generateOffThread(const isoquill::CompareState& compare, isoquill::GenerateResult& result);
    void waitForRun(QEventLoop& loop, isoquill::RunControl& control, const std::atomic<bool>& done);

    ProgramContext& form_;
    isoquill::FragmentState fragment_;
    bool generating_ = false;  // a second Generate must not start inside the first one's wait

    QLabel* Label18;
    QLineEdit* Edit11;
    QLabel* Label19;
    QLineEdit* Edit12;
    QLabel* Label20;
    QLineEdit* Edit13;
    QCheckBox* CheckBox2;  // tolerance in ppm
    QLabel* Label21;
    QComboBox* ComboBox1;  // ion charge
    QCheckBox* CheckBox1;  // monoisotopic masses
    QPushButton* Button5;
    StringGrid* StringGrid1;
    ResultGrid* StringGrid2;
};
