// The main window TForm1: the "&Compare" and "&Fragment" pages, "E&xit" and
// "&About". It owns the program-wide tables, so every instance starts from a
// fresh state; its construction runs FormCreate.
#pragma once

#include <QWidget>

#include "ui/program_context.h"

class QPushButton;
class QTabWidget;
class ComparePage;
class FragmentPage;
class TForm7;
class TForm10;
class TForm12;

class TForm1 : public QWidget, public ProgramContext {
    Q_OBJECT
public:
    // Builds the window and runs FormCreate; an error there (no "PSE.DAT" in
    // the current directory nor in the installed data folder, or a short one)
    // is shown in the error box and the rest is skipped.
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The windows created after this one; until then none is shown.
    void setSecondaryWindows(TForm12& plot, TForm10& about, TForm7& missingData);

    void Vergleich_handle(const QString& text) override;
    void showComparison(const std::optional<long double>& error) override;

    const isoquill::ElementTable& elementTable() const override { return elementTable_; }
    isoquill::CompareState& compareState() override { return compareState_; }

    void showPlotWindow() override;
    void hidePlotWindow() override;
    void repaintPlot() override;

    TForm7* missingDataWindow() const override { return missingDataWindow_; }

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
