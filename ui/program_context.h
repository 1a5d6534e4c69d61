// What the pages use of the main window: the program-wide tables it owns and
// the windows and views shared between the pages. The pages see only this, so
// they build and test without the main window.
#pragma once

#include <QString>

#include <optional>

#include "chem/element_table.h"
#include "compare/compare_chain.h"

class TForm7;

class ProgramContext {
public:
    virtual const isoquill::ElementTable& elementTable() const = 0;
    virtual isoquill::CompareState& compareState() = 0;

    // The comparison chain for `text`, shown in StringGrid4 and the plot.
    // Raises what the chain raises; callers run it inside their guarded handler.
    virtual void Vergleich_handle(const QString& text) = 0;
    // StringGrid4 and the plot for a comparison the chain has already run.
    virtual void showComparison(const std::optional<long double>& error) = 0;

    // The plot window TForm12: shown without taking the focus from the main window.
    virtual void showPlotWindow() = 0;
    virtual void hidePlotWindow() = 0;
    virtual void repaintPlot() = 0;

    // The missing-data message, to frame a comparison run; null until the
    // secondary windows exist.
    virtual TForm7* missingDataWindow() const = 0;

protected:
    ~ProgramContext() = default;
};
