// The Fragment page's wiring, driven as a chemist drives it: a formula typed,
// counts typed into the range grid, target and tolerance, Generate, clicks on
// the results; checked by the cell texts, field texts, focus and windows.
// The search and scoring rules are tested in the core.
#include <QApplication>
#include <QClipboard>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "chem/number_text.h"
#include "compare/comparison.h"
#include "fragment/enumeration.h"
#include "fragment/result_grid.h"
#include "ui/string_grid.h"
#include "gui_test_support.h"

using namespace isoquill;
using namespace isoquill::testing;

namespace {

const QStringList emptyResult{"", "", "", ""};

// The page entered by its tab and a click into the formula field.
struct FragmentProgram : Program {
    FragmentProgram() { open(); }

    QLineEdit* Edit11 = find<QLineEdit>("Edit11");
    QLineEdit* Edit12 = find<QLineEdit>("Edit12");
    QLineEdit* Edit13 = find<QLineEdit>("Edit13");
    QPushButton* Button5 = find<QPushButton>("Button5");
    StringGrid* StringGrid1 = find<StringGrid>("StringGrid1");
    ResultGrid* StringGrid2 = find<ResultGrid>("StringGrid2");

    void open() const {
        clickTab(*this, 1);
        QTest::mouseClick(find<QLineEdit>("Edit11"), Qt::LeftButton);
    }
    // Observed peaks typed on the Compare page; then back to this page.
    void addObservedPeaks(const QList<std::pair<QString, QString>>& peaks) const {
        clickTab(*this, 0);
        for (const auto& [mass, abundance] : peaks) {
            typeInto(find<QLineEdit>("Edit3"), mass);
            typeInto(find<QLineEdit>("Edit4"), abundance);
            QTest::keyClick(find<QLineEdit>("Edit4"), Qt::Key_Return);
        }
        open();
    }
    // Replaces the field's text and leaves the field with Tab.
    static void replace(QLineEdit* field, const QString& text) {
        QTest::mouseClick(field, Qt::LeftButton);
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
    }
    void typeFormula(const QString& text) const {
        QTest::mouseClick(Edit11, Qt::LeftButton);
        Edit11->selectAll();
        QTest::keyClicks(Edit11, text);
    }
    void clickCell(int col, int row) const {
        const QRect cell = StringGrid1->visualRect(StringGrid1->model()->index(row, col));
        QTest::mouseClick(StringGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    }
    // A click on the von cell, its keys, Tab to the bis cell, its keys; the
    // bis cell's editor stays open.
    void typeRange(int row, const QString& von, const QString& bis) const {
        clickCell(1, row);
        for (QChar key : von) QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        for (QChar key : bis) QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
    }
    void generate() const { QTest::mouseClick(Button5, Qt::LeftButton); }
    // Candidates of mass 16 +- 0.5 from C 0..5, H 0..5, N 0..1.
    void generateAround16() const {
        typeFormula(QStringLiteral("CH4N"));
        typeRange(3, QStringLiteral("0"), QStringLiteral("1"));
        replace(Edit12, QStringLiteral("16"));
        generate();
    }
    void clickResult(int row, Qt::MouseButton button = Qt::LeftButton) const {
        const QRect cell = StringGrid2->visualRect(StringGrid2->model()->index(row, 0));
        QTest::mouseClick(StringGrid2->viewport(), button, {}, cell.center());
    }
    QStringList rangeRow(int r) const { return gridRow(StringGrid1, r); }
    QStringList result(int r) const { return gridRow(StringGrid2, r); }
    const FormulaTable& formulaTable() const { return windows->form1.compareState().formula.formulaTable; }
};

bool sameFormulaTable(const FormulaTable& a, const FormulaTable& b) {
    return std::equal(a.begin(), a.end(), b.begin(), [](const FormulaEntry& x, const FormulaEntry& y) {
        return x.symbol == y.symbol && x.element == y.element && x.count == y.count && x.countReal == y.countReal;
    });
}

}  // namespace

class FragmentPageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tabOrderAndAccelerators() {
        FragmentProgram page;
        QCOMPARE(focusName(), QStringLiteral("Edit11"));
        QStringList visited;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << focusName();
        }
        page.Button5->setFocus();
        QTest::keyClick(page.Button5, Qt::Key_Tab);
        visited << focusName();
        QCOMPARE(visited, (QStringList{"Edit12", "Edit13", "StringGrid1", "StringGrid2"}));

        // The labels' accelerators; the formula's text is not selected on entry.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_M, Qt::AltModifier);
        QCOMPARE(focusName(), QStringLiteral("Edit12"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::AltModifier);
        QCOMPARE(focusName(), QStringLiteral("Edit13"));
        page.typeFormula(QStringLiteral("CH4"));
        QTest::keyClick(page.Edit11, Qt::Key_Tab);
        QTest::keyClick(page.Edit12, Qt::Key_Backtab);
        QCOMPARE(focusName(), QStringLiteral("Edit11"));
        QCOMPARE(page.Edit11->selectedText(), QString());
    }

    // Typed counts are shown as Generate took them (clamped to 0..200,
    // unreadable as 0) and stay with their row position; counts no Generate
    // took are gone at the next formula edit. A click on another cell
    // commits the open edit and takes the next digits.
    void theRangeGridShowsTheCountsGenerateTook() {
        FragmentProgram page;
        page.typeFormula(QStringLiteral("C6H12O6"));
        QCOMPARE(page.rangeRow(1), (QStringList{" C", "    0", "    5"}));
        page.typeRange(1, QStringLiteral("3"), QStringLiteral("250"));
        page.typeRange(2, QStringLiteral("-4"), QStringLiteral("x"));
        page.clickCell(1, 3);
        QTest::keyClick(QApplication::focusWidget(), ' ');
        QTest::keyClick(QApplication::focusWidget(), '4');
        page.Button5->click();  // as by the accelerator: the focus stays in the open cell editor
        QCOMPARE(page.rangeRow(1), (QStringList{" C", "    3", "  200"}));
        QCOMPARE(page.rangeRow(2), (QStringList{" H", "    0", "    0"}));
        QCOMPARE(page.rangeRow(3), (QStringList{" O", "    4", "    5"}));

        page.typeRange(2, QStringLiteral("7"), QStringLiteral("9"));
        page.typeFormula(QStringLiteral("NH3"));
        QCOMPARE(page.rangeRow(1), (QStringList{" N", "    3", "  200"}));
        QCOMPARE(page.rangeRow(2), (QStringList{" H", "    0", "    0"}));
        QCOMPARE(page.rangeRow(3), (QStringList{"", "", ""}));
        page.typeFormula(QStringLiteral("Cll"));
        QCOMPARE(page.rangeRow(1), (QStringList{"", "", ""}));
    }

    // Target and tolerance show the value taken; observed peaks replace a
    // typed target when the page is entered.
    void targetAndToleranceFieldsShowTheValueTaken() {
        FragmentProgram page;
        QCOMPARE(page.Edit12->text() + "|" + page.Edit13->text(), QStringLiteral("    0.000|0.5000"));
        FragmentProgram::replace(page.Edit12, QStringLiteral("180.0634"));
        QCOMPARE(page.Edit12->text(), QStringLiteral("  180.063"));
        QCOMPARE(focusName(), QStringLiteral("Edit13"));
        QTest::keyClick(page.Edit13, Qt::Key_Tab);
        QCOMPARE(page.Edit13->text(), QStringLiteral("   0.500"));
        FragmentProgram::replace(page.Edit13, QStringLiteral("1,5"));
        QCOMPARE(page.Edit13->text(), QStringLiteral("   1.500"));
        page.addObservedPeaks({{"180", "100"}, {"181", "10"}});
        QCOMPARE(page.Edit12->text(), QStringLiteral("  180.091"));
        QVERIFY(page.errors.texts.isEmpty());
    }

    // Rows in enumeration order with error 0 without observed peaks; Ctrl+C
    // copies them as numbers and plain formulas. Generate takes the fields
    // as shown, by accelerator and by Enter.
    void generateListsTheCandidatesOfTheFieldsAsShown() {
        FragmentProgram page;
        page.generateAround16();
        QCOMPARE(page.StringGrid2->rowCount(), 2);
        QCOMPARE(page.result(0), (QStringList{"   16.023 : ", " 0.02 : ", " 0.0", " H2  N1 "}));
        QCOMPARE(page.result(1), (QStringList{"   16.042 : ", " 0.04 : ", " 0.0", " C1  H4 "}));
        QTest::keyClick(page.StringGrid2, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("Mass\tDeviation\tError\tFormula\n16.023\t0.02\t0.0\tH2N1\n16.042\t0.04\t0.0\tC1H4\n"));

        QTest::mouseClick(page.Edit13, Qt::LeftButton);
        page.Edit13->selectAll();
        QTest::keyClicks(page.Edit13, QStringLiteral("0.03"));
        QTest::keyClick(page.Edit13, Qt::Key_G, Qt::AltModifier);
        QTRY_COMPARE(page.Edit13->text(), QStringLiteral("   0.030"));  // the accelerator clicks a moment later
        QCOMPARE(page.StringGrid2->rowCount(), 1);
        QTest::mouseClick(page.Edit12, Qt::LeftButton);
        page.Edit12->selectAll();
        QTest::keyClicks(page.Edit12, QStringLiteral("16.04"));
        QTest::keyClick(page.Edit12, Qt::Key_Return);
        QCOMPARE(page.Edit12->text(), QStringLiteral("   16.040"));
        QCOMPARE(page.result(1), (QStringList{"   16.042 : ", " 0.00 : ", " 0.0", " C1  H4 "}));
        QVERIFY(page.errors.texts.isEmpty());
    }

    // Each row's error is the one the comparison of its formula shows, and
    // after Generate the comparison table shows the last candidate.
    void generateWithObservedPeaksShowsTheComparisonErrors() {
        FragmentProgram page;
        page.addObservedPeaks({{"180", "100"}, {"181", "20"}, {"182", "5"}});
        page.typeFormula(QStringLiteral("C6H12O6"));
        page.typeRange(1, QStringLiteral("5"), QStringLiteral("7"));
        page.typeRange(2, QStringLiteral("8"), QStringLiteral("12"));
        page.typeRange(3, QStringLiteral("5"), QStringLiteral("6"));
        FragmentProgram::replace(page.Edit13, QStringLiteral("1.5"));
        page.generate();
        QCOMPARE(page.StringGrid2->rowCount(), 2);
        QCOMPARE(page.StringGrid2->cell(3, 1), QStringLiteral(" C6  H12 O6 "));
        auto* StringGrid4 = page.find<StringGrid>("StringGrid4");
        const QList<QStringList> afterGenerate = gridRows(StringGrid4);
        page.clickResult(1);
        QCOMPARE(gridRows(StringGrid4), afterGenerate);
        page.clickResult(0);
        const long double error = squaredErrorSum(page.windows->form1.compareState().comparison);
        QCOMPARE(page.StringGrid2->cell(2, 0), QString::fromStdString(formatReal(roundReal48(error), 4, 1)));
        QVERIFY(error > 1.0L);
        QVERIFY(page.errors.texts.isEmpty());
    }

    // No stale candidates stand under a refused search, refused by the
    // candidate cap or by a failing comparison; the busy cursor is gone.
    void aRefusedGenerateLeavesAnEmptyGrid() {
        FragmentProgram page;
        page.generateAround16();
        page.typeFormula(QStringLiteral("CHNO"));
        for (int r = 1; r <= 4; ++r) page.typeRange(r, QStringLiteral("0"), QStringLiteral("200"));
        FragmentProgram::replace(page.Edit12, QStringLiteral("1000"));
        FragmentProgram::replace(page.Edit13, QStringLiteral("1000"));
        page.generate();
        QCOMPARE(page.errors.texts, QStringList{QString::fromUtf8(TooManyCandidatesError().what()) + '.'});
        QCOMPARE(gridRows(page.StringGrid2), QList<QStringList>{emptyResult});
        QVERIFY(!QApplication::overrideCursor());

        page.addObservedPeaks({{"1", "100"}, {"2000000000", "50"}});
        page.errors.texts.clear();
        page.generateAround16();
        QCOMPARE(page.errors.texts, QStringList{QString::fromUtf8(ComparisonTooWideError().what()) + '.'});
        QCOMPARE(gridRows(page.StringGrid2), QList<QStringList>{emptyResult});
        QVERIFY(!QApplication::overrideCursor());
    }

    // A long run shows its progress; Cancel ends it with an empty grid and the
    // formula table as typed, and nothing reported.
    void cancelLeavesAnEmptyGridAndTheFormulaTable() {
        FragmentProgram page;
        page.addObservedPeaks({{"999", "100"}, {"1000", "60"}, {"1001", "20"}});
        page.typeFormula(QStringLiteral("CHNOS"));
        const int bis[] = {200, 200, 30, 40, 5};
        for (int r = 1; r <= 5; ++r) page.typeRange(r, QStringLiteral("0"), QString::number(bis[r - 1]));
        FragmentProgram::replace(page.Edit12, QStringLiteral("1000"));
        FragmentProgram::replace(page.Edit13, QStringLiteral("2"));
        const FormulaTable typed = page.formulaTable();
        QString label;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) return;
            label = dialog->labelText();
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
            watch.stop();
        });
        watch.start(10);
        page.generate();
        QVERIFY2(label.startsWith(QStringLiteral("Kandidaten gefunden: ")), qPrintable(label));
        QCOMPARE(gridRows(page.StringGrid2), QList<QStringList>{emptyResult});
        QVERIFY(sameFormulaTable(page.formulaTable(), typed));
        QVERIFY(page.errors.texts.isEmpty());
        QVERIFY(!QApplication::overrideCursor());
    }

    // A click shows the plot and hands the row's formula to the Compare page;
    // a right click acts on the row selected before, not the one under the mouse.
    void aClickHandsTheRowsFormulaToTheComparePage() {
        FragmentProgram page;
        page.generateAround16();
        QVERIFY(!page.windows->form12.isVisible());
        page.clickResult(1);
        QVERIFY(page.windows->form12.isVisible());
        QCOMPARE(focusName(), QStringLiteral("StringGrid2"));
        page.windows->form1.Vergleich_handle(QStringLiteral("H2O"));
        page.clickResult(0, Qt::RightButton);
        clickTab(page, 0);
        QTest::keyClick(page.find<QTabWidget>("PageControl1")->tabBar(), Qt::Key_Tab);
        QCOMPARE(page.find<QLineEdit>("Edit2")->text(), QStringLiteral("C1H4"));
        QCOMPARE(gridRow(page.find<StringGrid>("StringGrid4"), 0)[4], QStringLiteral("  16.0"));
    }

    void pageControlFocusRestoresTheFirstTwoResultWidths() {
        FragmentProgram page;
        page.StringGrid2->setColumnWidth(0, 10);
        page.StringGrid2->setColumnWidth(1, 10);
        page.find<QPushButton>("Button2")->setFocus();
        clickTab(page, 0);
        QCOMPARE(page.StringGrid2->columnWidth(0), 80);
        QCOMPARE(page.StringGrid2->columnWidth(1), 60);
    }
};
QTEST_MAIN(FragmentPageTest)
#include "fragment_page_test.moc"
