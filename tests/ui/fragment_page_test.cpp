// The Fragment page driven as a chemist drives it: a formula typed, counts
// typed into the range grid, target and tolerance, Generate, clicks on the
// results; checked by the cell texts, field texts, focus and windows.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include "chem/number_text.h"
#include "compare/comparison.h"
#include "fragment/enumeration.h"
#include "fragment/result_grid.h"
#include "ui/string_grid.h"
#include "gui_test_support.h"

using namespace isoquill;
using namespace isoquill::testing;

namespace {

struct FragmentPageView {
    explicit FragmentPageView(const Program& program)
        : PageControl1(program.find<QTabWidget>("PageControl1")), Edit11(program.find<QLineEdit>("Edit11")),
          Edit12(program.find<QLineEdit>("Edit12")), Edit13(program.find<QLineEdit>("Edit13")),
          Button5(program.find<QPushButton>("Button5")), StringGrid1(program.find<StringGrid>("StringGrid1")),
          StringGrid2(program.find<ResultGrid>("StringGrid2")) {}

    void showTab(int index) const {
        QTabBar* tabs = PageControl1->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }

    // The Fragment tab, then a click into the formula field enters the page.
    void open() const {
        showTab(1);
        QTest::mouseClick(Edit11, Qt::LeftButton);
    }

    // Observed peaks typed on the Compare page; the focus then returns to the Fragment page.
    void addObservedPeaks(const Program& program, const QList<std::pair<QString, QString>>& peaks) const {
        showTab(0);
        auto* Edit3 = program.find<QLineEdit>("Edit3");
        auto* Edit4 = program.find<QLineEdit>("Edit4");
        QTest::mouseClick(Edit3, Qt::LeftButton);
        for (const auto& [mass, abundance] : peaks) {
            QTest::keyClicks(Edit3, mass);
            QTest::mouseClick(Edit4, Qt::LeftButton);
            QTest::keyClicks(Edit4, abundance);
            QTest::keyClick(Edit4, Qt::Key_Return);
        }
        open();
    }

    // Replaces the field's text and leaves the field with Tab.
    static void typeInto(QLineEdit* field, const QString& text) {
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

    // A click on the von cell, its keys, Tab to the bis cell, its keys; the
    // bis cell's editor stays open.
    void typeRange(int row, const QString& von, const QString& bis) const {
        const QRect cell = StringGrid1->visualRect(StringGrid1->model()->index(row, 1));
        QTest::mouseClick(StringGrid1->viewport(), Qt::LeftButton, {}, cell.center());
        for (QChar key : von) QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        for (QChar key : bis) QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
    }

    void generate() const { QTest::mouseClick(Button5, Qt::LeftButton); }

    // Candidates of mass 16 +- 0.5 from C 0..5, H 0..5, N 0..1.
    void generateAround16() const {
        typeFormula(QStringLiteral("CH4N"));
        typeRange(3, QStringLiteral("0"), QStringLiteral("1"));
        typeInto(Edit12, QStringLiteral("16"));
        generate();
    }

    void clickResult(int row, Qt::MouseButton button = Qt::LeftButton) const {
        const QRect cell = StringGrid2->visualRect(StringGrid2->model()->index(row, 0));
        QTest::mouseClick(StringGrid2->viewport(), button, {}, cell.center());
    }

    template <class Grid>
    static QStringList row(const Grid* grid, int r) {
        QStringList texts;
        for (int col = 0; col < grid->columnCount(); ++col) texts << grid->cell(col, r);
        return texts;
    }

    QStringList rangeRow(int r) const { return row(StringGrid1, r); }
    QStringList result(int r) const { return row(StringGrid2, r); }

    QTabWidget* PageControl1;
    QLineEdit* Edit11;
    QLineEdit* Edit12;
    QLineEdit* Edit13;
    QPushButton* Button5;
    StringGrid* StringGrid1;
    ResultGrid* StringGrid2;
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
        Program program;
        FragmentPageView page(program);
        page.open();
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

        // The accelerators of the labels; the formula's text is not selected on entry.
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

    void typingAFormulaFillsOneRangeRowPerLeadingEntry_data() {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QStringList>("symbols");
        QTest::newRow("glucose") << "C6H12O6" << QStringList{" C", " H", " O"};
        QTest::newRow("two-letter symbols") << "NaCl" << QStringList{"Na", "Cl"};
        QTest::newRow("a count of 0 ends the rows") << "C2H0O" << QStringList{" C"};
        QTest::newRow("refused by the syntax check") << "Cll" << QStringList{};
    }
    void typingAFormulaFillsOneRangeRowPerLeadingEntry() {
        QFETCH(QString, formula);
        QFETCH(QStringList, symbols);
        Program program;
        FragmentPageView page(program);
        page.open();
        page.typeFormula(QStringLiteral("C6H12O6N2S"));
        page.typeFormula(formula);
        for (int r = 1; r < 15; ++r) {
            const QStringList expected = r <= symbols.size() ? QStringList{symbols[r - 1], "    0", "    5"}
                                                             : QStringList{"", "", ""};
            QCOMPARE(page.rangeRow(r), expected);
        }
        QCOMPARE(QString::fromLatin1(program.windows->form1.compareState().formula.formulaText), formula);
    }

    // Only the first 60 characters count: 26 entries of which the grid shows
    // 14, and the Compare page, entered next, compares those 60 characters.
    void aPastedTenThousandCharacterFormulaCountsWithItsFirstSixty() {
        Program program;
        FragmentPageView page(program);
        page.open();
        QString text;
        while (text.size() < 10000) text += QStringLiteral("C6H12O6");
        text.truncate(10000);
        QApplication::clipboard()->setText(text);
        QTest::keyClick(page.Edit11, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(page.Edit11->text(), text);
        const QStringList symbols{" C", " H", " O"};
        for (int r = 1; r < 15; ++r) QCOMPARE(page.rangeRow(r), (QStringList{symbols[(r - 1) % 3], "    0", "    5"}));
        QCOMPARE(program.windows->form1.compareState().formula.formulaText, text.left(60).toStdString());

        page.showTab(0);
        QTest::keyClick(page.PageControl1->tabBar(), Qt::Key_Tab);
        QCOMPARE(program.find<QLineEdit>("Edit2")->text(), text.left(60));
        QCOMPARE(FragmentPageView::row(program.find<StringGrid>("StringGrid4"), 0)[4], QStringLiteral("1514.3"));
        QVERIFY(program.errors.texts.isEmpty());
    }

    // A click on another cell while one is being edited commits that edit and
    // makes the clicked cell current, so the next digits go there, as after Tab.
    void aClickOnAnotherRangeCellTakesTheNextDigits() {
        Program program;
        FragmentPageView page(program);
        page.open();
        page.typeFormula(QStringLiteral("CH"));
        const auto clickCell = [&page](int col, int row) {
            const QRect cell = page.StringGrid1->visualRect(page.StringGrid1->model()->index(row, col));
            QTest::mouseClick(page.StringGrid1->viewport(), Qt::LeftButton, {}, cell.center());
        };
        clickCell(2, 1);
        for (const char key : {'2', '0', '0'}) QTest::keyClick(QApplication::focusWidget(), key);
        clickCell(1, 2);
        QTest::keyClick(QApplication::focusWidget(), '4');
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(page.rangeRow(1), (QStringList{" C", "    0", "200"}));
        QCOMPARE(page.rangeRow(2), (QStringList{" H", "4", "    5"}));
    }

    void generateTakesTheCountsAndTheyStayWithTheRowPosition() {
        Program program;
        FragmentPageView page(program);
        page.open();
        page.typeFormula(QStringLiteral("C6H12O6"));
        page.typeRange(1, QStringLiteral("3"), QStringLiteral("250"));
        page.typeRange(2, QStringLiteral("-4"), QStringLiteral("x"));
        page.typeRange(3, QStringLiteral(" 12"), QStringLiteral("8"));
        // As by the accelerator: the focus stays in the open cell editor.
        page.Button5->click();
        // What was used is what the grid shows: clamped to 0..200, unreadable as 0.
        QCOMPARE(page.rangeRow(1), (QStringList{" C", "    3", "  200"}));
        QCOMPARE(page.rangeRow(2), (QStringList{" H", "    0", "    0"}));
        QCOMPARE(page.rangeRow(3), (QStringList{" O", "   12", "    8"}));

        // Row 1 keeps its counts for the element now at its position; typed
        // counts that no Generate took are gone at the next formula edit.
        page.typeRange(2, QStringLiteral("7"), QStringLiteral("9"));
        page.typeFormula(QStringLiteral("NH3"));
        QCOMPARE(page.rangeRow(1), (QStringList{" N", "    3", "  200"}));
        QCOMPARE(page.rangeRow(2), (QStringList{" H", "    0", "    0"}));
        QCOMPARE(page.rangeRow(3), (QStringList{"", "", ""}));
    }

    void targetAndToleranceFieldsShowTheValueTaken() {
        Program program;
        FragmentPageView page(program);
        page.open();
        QCOMPARE(page.Edit12->text(), QStringLiteral("    0.000"));
        QCOMPARE(page.Edit13->text(), QStringLiteral("0.5000"));
        FragmentPageView::typeInto(page.Edit12, QStringLiteral("180.0634"));
        QCOMPARE(page.Edit12->text(), QStringLiteral("  180.063"));
        QCOMPARE(focusName(), QStringLiteral("Edit13"));
        QTest::keyClick(page.Edit13, Qt::Key_Tab);
        QCOMPARE(page.Edit13->text(), QStringLiteral("   0.500"));
        FragmentPageView::typeInto(page.Edit13, QStringLiteral("1,5"));
        QCOMPARE(page.Edit13->text(), QStringLiteral("   1.500"));

        // Observed peaks replace a typed target when the page is entered.
        page.addObservedPeaks(program, {{"180", "100"}, {"181", "10"}});
        QCOMPARE(page.Edit12->text(), QStringLiteral("  180.091"));
        QVERIFY(program.errors.texts.isEmpty());
    }

    void generateWithoutObservedPeaksListsCandidatesWithErrorZero() {
        Program program;
        FragmentPageView page(program);
        page.open();
        page.generateAround16();
        // 2 x 1.00794 + 14.0067 and 12.0107 + 4 x 1.00794, in enumeration
        // order: the first element's count varies slowest.
        QCOMPARE(page.StringGrid2->rowCount(), 2);
        QCOMPARE(page.result(0), (QStringList{"   16.023 : ", " 0.02 : ", " 0.0", " H2  N1 "}));
        QCOMPARE(page.result(1), (QStringList{"   16.042 : ", " 0.04 : ", " 0.0", " C1  H4 "}));
        // Ctrl+C copies the rows as numbers and plain formulas under a header.
        QTest::keyClick(page.StringGrid2, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("Mass\tDeviation\tError\tFormula\n16.023\t0.02\t0.0\tH2N1\n16.042\t0.04\t0.0\tC1H4\n"));
    }

    void generateWithObservedPeaksShowsTheComparisonErrors() {
        Program program;
        FragmentPageView page(program);
        page.addObservedPeaks(program, {{"180", "100"}, {"181", "20"}, {"182", "5"}});
        page.typeFormula(QStringLiteral("C6H12O6"));
        page.typeRange(1, QStringLiteral("5"), QStringLiteral("7"));
        page.typeRange(2, QStringLiteral("8"), QStringLiteral("12"));
        page.typeRange(3, QStringLiteral("5"), QStringLiteral("6"));
        FragmentPageView::typeInto(page.Edit13, QStringLiteral("1.5"));
        page.generate();
        const int rows = page.StringGrid2->rowCount();
        QCOMPARE(rows, 2);
        QCOMPARE(page.StringGrid2->cell(3, 0), QStringLiteral(" C6  H11 O6 "));
        QCOMPARE(page.StringGrid2->cell(3, 1), QStringLiteral(" C6  H12 O6 "));
        auto* StringGrid4 = program.find<StringGrid>("StringGrid4");
        auto compareTable = [&] {
            QList<QStringList> table;
            for (int r = 0; r < StringGrid4->rowCount(); ++r) table << FragmentPageView::row(StringGrid4, r);
            return table;
        };
        // The comparison table shows the last candidate, as clicking it shows it.
        const QList<QStringList> afterGenerate = compareTable();
        page.clickResult(rows - 1);
        QCOMPARE(compareTable(), afterGenerate);

        // Each row's error is the least-square error that the comparison of
        // its formula gives, the one the Compare page shows.
        for (int r = 0; r < rows; ++r) {
            page.clickResult(r);
            const long double error = squaredErrorSum(program.windows->form1.compareState().comparison);
            QCOMPARE(page.StringGrid2->cell(2, r), QString::fromStdString(formatReal(roundReal48(error), 4, 1)));
            QVERIFY(error > 1.0L);
        }
        QVERIFY(program.errors.texts.isEmpty());
    }

    void aTargetOfZeroWritesNoRow() {
        Program program;
        FragmentPageView page(program);
        page.open();
        page.generateAround16();
        QCOMPARE(page.StringGrid2->rowCount(), 2);
        FragmentPageView::typeInto(page.Edit12, QStringLiteral("0"));
        page.generate();
        // The candidate of mass 0 is counted but not written.
        QCOMPARE(page.StringGrid2->rowCount(), 1);
        QCOMPARE(page.result(0), (QStringList{"", "", "", ""}));
    }

    // No stale candidates stand under a new search: a refused Generate leaves
    // the grid empty, and the busy cursor is gone on every way out.
    void aRefusedGenerateLeavesAnEmptyGrid() {
        Program program;
        FragmentPageView page(program);
        page.open();
        page.generateAround16();
        QCOMPARE(page.StringGrid2->rowCount(), 2);
        page.typeFormula(QStringLiteral("CHNO"));
        for (int r = 1; r <= 4; ++r) page.typeRange(r, QStringLiteral("0"), QStringLiteral("200"));
        FragmentPageView::typeInto(page.Edit12, QStringLiteral("1000"));
        FragmentPageView::typeInto(page.Edit13, QStringLiteral("1000"));
        page.generate();
        QCOMPARE(program.errors.texts, QStringList{QString::fromUtf8(TooManyCandidatesError().what()) + '.'});
        QCOMPARE(page.StringGrid2->rowCount(), 1);
        QCOMPARE(page.result(0), (QStringList{"", "", "", ""}));
        QVERIFY(!QApplication::overrideCursor());

        // An error inside scoring: observed peaks too far apart for any comparison.
        page.addObservedPeaks(program, {{"1", "100"}, {"2000000000", "50"}});
        program.errors.texts.clear();
        page.generateAround16();
        QCOMPARE(program.errors.texts, QStringList{QString::fromUtf8(ComparisonTooWideError().what()) + '.'});
        QCOMPARE(page.StringGrid2->rowCount(), 1);
        QCOMPARE(page.result(0), (QStringList{"", "", "", ""}));
        QVERIFY(!QApplication::overrideCursor());
    }

    // Generate takes the texts the fields show, by accelerator and by Enter.
    void generateUsesTheFieldsAsShown() {
        Program program;
        FragmentPageView page(program);
        page.open();
        page.generateAround16();
        QCOMPARE(page.StringGrid2->rowCount(), 2);
        QTest::mouseClick(page.Edit13, Qt::LeftButton);
        page.Edit13->selectAll();
        QTest::keyClicks(page.Edit13, QStringLiteral("0.03"));
        QTest::keyClick(page.Edit13, Qt::Key_G, Qt::AltModifier);
        // The accelerator clicks the button a moment later.
        QTRY_COMPARE(page.Edit13->text(), QStringLiteral("   0.030"));
        QCOMPARE(page.StringGrid2->rowCount(), 1);
        QCOMPARE(page.result(0), (QStringList{"   16.023 : ", " 0.02 : ", " 0.0", " H2  N1 "}));

        QTest::mouseClick(page.Edit12, Qt::LeftButton);
        page.Edit12->selectAll();
        QTest::keyClicks(page.Edit12, QStringLiteral("16.04"));
        QTest::keyClick(page.Edit12, Qt::Key_Return);
        QCOMPARE(page.Edit12->text(), QStringLiteral("   16.040"));
        QCOMPARE(page.StringGrid2->rowCount(), 2);
        QCOMPARE(page.result(1), (QStringList{"   16.042 : ", " 0.00 : ", " 0.0", " C1  H4 "}));
        QVERIFY(program.errors.texts.isEmpty());
    }

    // A long run shows its progress; Cancel ends it with an empty grid and the
    // formula table as typed, and nothing reported.
    void cancelLeavesAnEmptyGridAndTheFormulaTable() {
        Program program;
        FragmentPageView page(program);
        page.addObservedPeaks(program, {{"999", "100"}, {"1000", "60"}, {"1001", "20"}});
        page.typeFormula(QStringLiteral("CHNOS"));
        const int bis[] = {200, 200, 30, 40, 5};
        for (int r = 1; r <= 5; ++r) page.typeRange(r, QStringLiteral("0"), QString::number(bis[r - 1]));
        FragmentPageView::typeInto(page.Edit12, QStringLiteral("1000"));
        FragmentPageView::typeInto(page.Edit13, QStringLiteral("2"));
        const FormulaTable typed = program.windows->form1.compareState().formula.formulaTable;

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
        QCOMPARE(page.StringGrid2->rowCount(), 1);
        QCOMPARE(page.result(0), (QStringList{"", "", "", ""}));
        QVERIFY(sameFormulaTable(program.windows->form1.compareState().formula.formulaTable, typed));
        QVERIFY(program.errors.texts.isEmpty());
        QVERIFY(!QApplication::overrideCursor());
    }

    void aClickHandsTheRowsFormulaToTheComparePage() {
        Program program;
        FragmentPageView page(program);
        page.open();
        page.generateAround16();
        TForm12& plot = program.windows->form12;
        QVERIFY(!plot.isVisible());

        page.clickResult(1);
        QVERIFY(plot.isVisible());
        QCOMPARE(page.PageControl1->currentIndex(), 1);
        QCOMPARE(focusName(), QStringLiteral("StringGrid2"));
        // A right click acts on the row selected before, not on the row under the mouse.
        program.windows->form1.Vergleich_handle(QStringLiteral("H2O"));
        page.clickResult(0, Qt::RightButton);

        page.showTab(0);
        QTest::keyClick(page.PageControl1->tabBar(), Qt::Key_Tab);
        QCOMPARE(program.find<QLineEdit>("Edit2")->text(), QStringLiteral("C1H4"));
        QCOMPARE(FragmentPageView::row(program.find<StringGrid>("StringGrid4"), 0)[4], QStringLiteral("  16.0"));
    }

    void pageControlFocusRestoresTheFirstTwoResultWidths() {
        Program program;
        FragmentPageView page(program);
        page.open();
        page.StringGrid2->setColumnWidth(0, 10);
        page.StringGrid2->setColumnWidth(1, 10);
        program.find<QPushButton>("Button2")->setFocus();
        page.showTab(0);
        QCOMPARE(page.StringGrid2->columnWidth(0), 80);
        QCOMPARE(page.StringGrid2->columnWidth(1), 60);
    }
};
QTEST_MAIN(FragmentPageTest)
#include "fragment_page_test.moc"
