// The main window TForm1: the "&Compare" and "&Fragment" pages, "E&xit" and
// "&About". It owns the program-wide tables, so every instance starts from a
// fresh state; its construction runs FormCreate.
#pragma once

#include <QWidget>

#include <optional>

#include "chem/element_table.h"
#include "compare/compare_chain.h"

class QPushButton;
class QTabWidget;
class ComparePage;
class FragmentPage;
class TForm7;
class TForm10;
class TForm12;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // Builds the window and runs FormCreate; an error there (a missing or
    // short "PSE.DAT") is shown in the error box and the rest is skipped.
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The windows created after this one; until then none is shown.
    void setSecondaryWindows(TForm12& plot, TForm10& about, TForm7& missingData);

    // The comparison chain for `text`, shown in StringGrid4 and the plot.
    // Raises what the chain raises; callers run it inside their guarded handler.
    void Vergleich_handle(const QString& text);
    // StringGrid4 and the plot for a comparison the chain has already run.
    void showComparison(const std::optional<long double>& error);

    const isoquill::ElementTable& elementTable() const { return elementTable_; }
    isoquill::CompareState& compareState() { return compareState_; }

    // The plot window TForm12: shown without taking the focus from this window.
    void showPlotWindow();
    void hidePlotWindow();
    void repaintPlot();

    // The missing-data message, to frame a comparison run; null until the
    // secondary windows exist.
    TForm7* missingDataWindow() const { return missingDataWindow_; }

private:
    void FormCreate();
    void ExitClick();
    void Button2Click();
    void PageControl1Enter();

    isoquill::ElementTable elementTable_{};
    isoquill::CompareState compareState_;

    QTabWidget* PageControl1;
    ComparePage* comparePage_;
    FragmentPage* fragmentPage_;
    QPushButton* Exit;
    QPushButton* Button2;

    TForm12* plotWindow_ = nullptr;
    TForm10* aboutWindow_ = nullptr;
    TForm7* missingDataWindow_ = nullptr;
};
