// The Compare page driven as a user drives it: keys into the fields, clicks
// on the buttons and the list, and the texts, focus and windows that result.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "ui/string_grid.h"
#include "gui_test_support.h"

using namespace isoquill;
using namespace isoquill::testing;

namespace {

struct ComparePageView {
    explicit ComparePageView(const Program& program)
        : Edit2(program.find<QLineEdit>("Edit2")), Edit3(program.find<QLineEdit>("Edit3")),
          Edit4(program.find<QLineEdit>("Edit4")), Button3(program.find<QPushButton>("Button3")),
          Button4(program.find<QPushButton>("Button4")), ListBox2(program.find<QListWidget>("ListBox2")),
          StringGrid4(program.find<StringGrid>("StringGrid4")) {}

    // Types into a field as the user does: a click into it (a second one when
    // entering the page moved the focus on to Edit3), then the keys.
    void type(QLineEdit* field, const QString& text) const {
        QTest::mouseClick(field, Qt::LeftButton);
        if (!field->hasFocus()) QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClicks(field, text);
    }

    void addPeak(const QString& mass, const QString& abundance) const {
        type(Edit3, mass);
        type(Edit4, abundance);
        QTest::mouseClick(Button3, Qt::LeftButton);
    }

    QStringList lines() const {
        QStringList texts;
        for (int i = 0; i < ListBox2->count(); ++i) texts << ListBox2->item(i)->text();
        return texts;
    }

    QStringList row(int r) const {
        QStringList texts;
        for (int col = 0; col < StringGrid4->columnCount(); ++col) texts << StringGrid4->cell(col, r);
        return texts;
    }

    void clickLine(int line) const {
        const QRect rect = ListBox2->visualItemRect(ListBox2->item(line));
        QTest::mouseClick(ListBox2->viewport(), Qt::LeftButton, {}, rect.center());
    }

    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QPushButton* Button3;
    QPushButton* Button4;
    QListWidget* ListBox2;
    StringGrid* StringGrid4;
};

}  // namespace

class ComparePageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typingAFormulaFillsHeaderDataAndErrorRows() {
        Program program;
        ComparePageView page(program);
        page.type(page.Edit2, QStringLiteral("C6H12O6"));
        QCOMPARE(page.row(0), (QStringList{"Exp.", "   0.0", "", "Sim.", " 180.2", "Diff."}));
        // Masses and abundances of the simulated glucose group, no observed peaks.
        QCOMPARE(page.row(1), (QStringList{" 1", "   0.0", "  0.0", " 180.1", "100.0", "-100.00"}));
        QCOMPARE(page.row(2).mid(0, 4), (QStringList{" 2", "   0.0", "  0.0", " 181.1"}));
        const int rowCount = program.windows->form1.compareState().comparison.rowCount;
        QVERIFY(rowCount >= 3);
        QCOMPARE(page.StringGrid4->rowCount(), 22);
        QVERIFY(!page.StringGrid4->cell(5, rowCount + 1).isEmpty());
        QVERIFY(page.StringGrid4->cell(0, rowCount + 1).isEmpty());
    }

    void aRefusedFormulaEmptiesOnlyTheDataRows() {
        Program program;
        ComparePageView page(program);
        page.type(page.Edit2, QStringLiteral("C6H12O6"));
        QTest::keyClicks(page.Edit2, QStringLiteral("h"));  // a lower-case letter after a count
        QCOMPARE(page.row(0)[4], QStringLiteral(" 180.2"));
        for (int r = 1; r < page.StringGrid4->rowCount(); ++r) QCOMPARE(page.row(r).join(QString()), QString());
    }

    void addSortsAndWritesTheListLines() {
        Program program;
        ComparePageView page(program);
        page.addPeak(QStringLiteral("12"), QStringLiteral("100"));
        page.addPeak(QStringLiteral("13"), QStringLiteral("1.1"));
        page.addPeak(QStringLiteral("11"), QStringLiteral("5"));
        QCOMPARE(page.lines(), (QStringList{"     11     5.00000", "     12   100.00000", "     13     1.10000"}));
        QCOMPARE(program.windows->form1.compareState().observed.observedNext, 4);
        QCOMPARE(page.Edit3->text(), QString());
        QCOMPARE(page.Edit4->text(), QString());
        QCOMPARE(focusName(), QStringLiteral("Edit3"));
    }

    void refusedPeaksLeaveTheFieldsAsTyped_data() {
        QTest::addColumn<QString>("mass");
        QTest::addColumn<QString>("abundance");
        QTest::newRow("mass 0") << "0" << "100";
        QTest::newRow("negative mass") << "-5" << "100";
        QTest::newRow("abundance 0") << "12" << "0";
        QTest::newRow("empty mass") << "" << "100";
        QTest::newRow("empty abundance") << "12" << "";
        QTest::newRow("not a number") << "x12" << "100";
    }

    void refusedPeaksLeaveTheFieldsAsTyped() {
        QFETCH(QString, mass);
        QFETCH(QString, abundance);
        Program program;
        ComparePageView page(program);
        page.addPeak(mass, abundance);
        QCOMPARE(page.ListBox2->count(), 0);
        QCOMPARE(page.Edit3->text(), mass);
        QCOMPARE(page.Edit4->text(), abundance);
        QCOMPARE(focusName(), QStringLiteral("Edit3"));
        QVERIFY(program.errors.texts.isEmpty());
    }

    void anAbundanceBeyondReal48ShowsTheOverflowError() {
        Program program;
        ComparePageView page(program);
        page.type(page.Edit3, QStringLiteral("12"));
        page.type(page.Edit4, QStringLiteral("1e39"));
        QTest::keyClick(page.Edit4, Qt::Key_Return);
        QCOMPARE(program.errors.texts, QStringList{QStringLiteral("Überlauf bei Gleitkomma-Operation.")});
        QCOMPARE(page.ListBox2->count(), 0);
        QCOMPARE(focusName(), QStringLiteral("Edit4"));
    }

    void enterWalksFromFormulaToMassToAbundanceAndAdds() {
        Program program;
        ComparePageView page(program);
        page.type(page.Edit2, QStringLiteral("C6H12O6"));
        QTest::keyClick(page.Edit2, Qt::Key_Return);
        QCOMPARE(focusName(), QStringLiteral("Edit3"));
        QTest::keyClicks(page.Edit3, QStringLiteral("180"));
        QTest::keyClick(page.Edit3, Qt::Key_Return);
        QCOMPARE(focusName(), QStringLiteral("Edit4"));
        QTest::keyClicks(page.Edit4, QStringLiteral("100"));
        QTest::keyClick(page.Edit4, Qt::Key_Return);
        QCOMPARE(page.lines(), QStringList{QStringLiteral("    180   100.00000")});
        QCOMPARE(focusName(), QStringLiteral("Edit3"));
        QCOMPARE(page.row(1), (QStringList{" 1", " 180.0", "100.0", " 180.1", "100.0", "   0.00"}));
        QCOMPARE(page.row(0)[1], QStringLiteral(" 180.0"));
    }

    void deleteRemovesTheSelectedPeakAndDisablesItself() {
        Program program;
        ComparePageView page(program);
        QVERIFY(!page.Button4->isEnabled());
        page.addPeak(QStringLiteral("100"), QStringLiteral("100"));
        page.addPeak(QStringLiteral("101"), QStringLiteral("50"));
        page.addPeak(QStringLiteral("102"), QStringLiteral("10"));
        page.clickLine(0);
        QVERIFY(page.Button4->isEnabled());
        QTest::mouseClick(page.Button4, Qt::LeftButton);
        QCOMPARE(page.lines(), (QStringList{"    101    50.00000", "    102    10.00000"}));
        QVERIFY(!page.Button4->isEnabled());
        const ObservedPeaks& observed = program.windows->form1.compareState().observed;
        QCOMPARE(observed.observedNext, 3);
        QVERIFY(observed.observedPeaks[3].mass.isZero());
        QCOMPARE(page.row(1)[1], QStringLiteral(" 101.0"));
    }

    void deleteWithoutASelectedLineKeepsTheList() {
        Program program;
        ComparePageView page(program);
        page.addPeak(QStringLiteral("100"), QStringLiteral("100"));
        page.clickLine(0);
        page.addPeak(QStringLiteral("101"), QStringLiteral("50"));  // rebuilds the list, Delete stays enabled
        QVERIFY(page.Button4->isEnabled());
        QTest::mouseClick(page.Button4, Qt::LeftButton);
        QCOMPARE(page.lines(), (QStringList{"    100   100.00000", "    101    50.00000"}));
        QCOMPARE(program.windows->form1.compareState().observed.observedNext, 3);
        QVERIFY(!page.Button4->isEnabled());
    }

    void theTableGrowsWithTheAlignedRows_data() {
        QTest::addColumn<int>("peaks");
        QTest::addColumn<int>("gridRows");
        QTest::newRow("20 rows") << 20 << 22;
        QTest::newRow("21 rows") << 21 << 23;
        QTest::newRow("30 rows") << 30 << 32;
    }

    // One carbon atom simulates two peaks 1 u apart; observed peaks on every
    // mass from 100 on, the first the largest, give one aligned row each.
    void theTableGrowsWithTheAlignedRows() {
        QFETCH(int, peaks);
        QFETCH(int, gridRows);
        Program program;
        ComparePageView page(program);
        for (int i = 0; i < peaks; ++i) page.addPeak(QString::number(100 + i), i == 0 ? QStringLiteral("100") : QStringLiteral("1"));
        page.type(page.Edit2, QStringLiteral("C"));
        QCOMPARE(program.windows->form1.compareState().comparison.rowCount, peaks);
        QCOMPARE(page.StringGrid4->rowCount(), gridRows);
        QCOMPARE(page.row(peaks)[0], QString::number(peaks).right(2));
        QVERIFY(!page.StringGrid4->cell(5, peaks + 1).isEmpty());
    }

    void anUnknownSymbolShowsTheMissingDataWindowAndTypingGoesOn() {
        Program program;
        ComparePageView page(program);
        page.type(page.Edit2, QStringLiteral("CQ"));
        TForm7& missingData = program.windows->form7;
        QVERIFY(QTest::qWaitForWindowActive(&missingData));
        QCOMPARE(missingData.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral(" Q"));
        QCOMPARE(focusName(), QStringLiteral("Button1"));
        // Not modal: the main window still takes input, and its page was not left.
        QVERIFY(program.windows->form12.isVisible());
        program.windows->form1.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&program.windows->form1));
        page.type(page.Edit2, QStringLiteral("J"));
        QCOMPARE(missingData.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral(" J"));
        QCOMPARE(page.Edit2->text(), QStringLiteral("CQJ"));
        QVERIFY(program.errors.texts.isEmpty());
    }

    void enteringThePageShowsThePlotAndTheLastFormula() {
        Program program;
        ComparePageView page(program);
        TForm12& plot = program.windows->form12;
        QVERIFY(!plot.isVisible());
        program.windows->form1.Vergleich_handle(QStringLiteral("H2O"));  // as a fragment candidate click does
        QCOMPARE(page.Edit2->text(), QString());

        auto* tabs = program.find<QTabWidget>("PageControl1")->tabBar();
        QCOMPARE(focusName(), tabs->objectName());
        QTest::keyClick(tabs, Qt::Key_Tab);
        QVERIFY(plot.isVisible());
        QCOMPARE(focusName(), QStringLiteral("Edit3"));
        QCOMPARE(page.Edit2->text(), QStringLiteral("H2O"));
        QCOMPARE(page.row(0)[3], QStringLiteral("Sim."));

        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        QVERIFY(!plot.isVisible());
    }
};

QTEST_MAIN(ComparePageTest)
#include "compare_page_test.moc"
