#include "ui/main_window.h"

#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "compare/compare_page.h"
#include "compare/plot_window.h"
#include "fragment/fragment_page.h"
#include "ui/about_window.h"
#include "ui/error_box.h"
#include "ui/fonts.h"
#include "ui/form_layout.h"
#include "ui/latin1_text.h"
#include "ui/missing_data_window.h"
#include "ui/page_focus.h"

using namespace isoquill;

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Isoquill"));
    setFixedSingleBorder(this, 22, 237, 502, 467);
    setFont(courierNew(11));

    PageControl1 = place(new QTabWidget(this), "PageControl1", 16, 16, 465, 409);
    PageControl1->setFont(msSansSerif(12));
    // A click on the tab row takes the focus, so leaving a page by mouse is
    // leaving it for the focus too.
    PageControl1->tabBar()->setFocusPolicy(Qt::StrongFocus);
    comparePage_ = new ComparePage(*this, PageControl1);
    PageControl1->addTab(comparePage_, QStringLiteral("&Compare"));
    fragmentPage_ = new FragmentPage(*this, PageControl1);
    fragmentPage_->setObjectName(QStringLiteral("TabSheet4"));
    PageControl1->addTab(fragmentPage_, QStringLiteral("&Fragment"));

    Exit = makeButton(this, "Exit", QStringLiteral("E&xit"), 18, 432, 105, 25);
    Button2 = makeButton(this, "Button2", QStringLiteral("&About"), 376, 432, 105, 25);
    Exit->setFont(msSansSerif(12));
    Button2->setFont(msSansSerif(12));

    connect(Exit, &QPushButton::clicked, this, guarded(this, &TForm1::ExitClick));
    connect(Button2, &QPushButton::clicked, this, guarded(this, &TForm1::Button2Click));
    connect(new PageFocus(PageControl1), &PageFocus::entered, this, guarded(this, &TForm1::PageControl1Enter));

    // The first focus is the page control's, so the plot window appears only
    // when the focus first enters the Compare page.
    PageControl1->setFocus();
    runGuarded([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

void TForm1::setSecondaryWindows(TForm12& plot, TForm10& about, TForm7& missingData) {
    plotWindow_ = &plot;
    aboutWindow_ = &about;
    missingDataWindow_ = &missingData;
    compareState_.showMissingData = [&missingData](const Symbol& symbol) {
        missingData.showMissingData(fromLatin1(symbol.text()));
    };
}

void TForm1::FormCreate() {
    compareState_.observed = ObservedPeaks{};
    compareState_.comparison.rowCount = 0;
    fragmentPage_->clearRangeTable();
    clearElementTable(elementTable_);
    loadElementFile(elementTable_);
    fragmentPage_->writeRangeGridHeader();
    fragmentPage_->setInitialResultColumnWidths();
    comparePage_->setComparisonColumns();
    fragmentPage_->setSearchDefaults();
}

void TForm1::Vergleich_handle(const QString& text) { comparePage_->Vergleich_handle(text); }

void TForm1::showComparison(const std::optional<long double>& error) { comparePage_->showComparison(error); }

// The plot overlaps the missing-data message's OK button: a message still
// open is raised again over it.
void TForm1::showPlotWindow() {
    if (plotWindow_) plotWindow_->showInFront();
    if (missingDataWindow_ && missingDataWindow_->isVisible()) missingDataWindow_->raise();
}

void TForm1::hidePlotWindow() {
    if (plotWindow_) plotWindow_->close();
}

void TForm1::repaintPlot() {
    if (plotWindow_) plotWindow_->PaintBox1Paint();
}

void TForm1::ExitClick() { close(); }

void TForm1::Button2Click() {
    if (aboutWindow_) aboutWindow_->showInFront();
}

void TForm1::PageControl1Enter() { fragmentPage_->PageControl1Enter(); }
