// The Fragment page (TabSheet4): formula, range grid, target mass, tolerance,
// Generate and the result grid; a click on a result hands it to the comparison.
#pragma once

#include <QWidget>

class TForm1;

class FragmentPage : public QWidget {
    Q_OBJECT
public:
    FragmentPage(TForm1& form, QWidget* parent);

    // The main window's FormCreate steps that belong to this page.
    void clearRangeTable();            // rangeTable all zero
    void writeRangeGridHeader();       // "Element", " von ", " bis"
    void setInitialResultColumnWidths();  // StringGrid2 columns 80, 60, 40
    void setSearchDefaults();          // massTolerance 0.5, targetMass 0

    // PageControl1Enter: StringGrid2 columns 0 and 1 back to 80 and 60.
    void PageControl1Enter();
};
