// The Fragment page's wiring, driven as a chemist drives it: a formula typed,
// counts typed into the range grid, target and tolerance, Generate, clicks on
// the results; checked by the cell texts, field texts, focus and windows.
// The search and scoring rules are tested in the core.
#include "chem/number_text.h"
#include "compare/comparison.h"
#include "fragment/enumeration.h"
#include "fragment/result_table.h"
#include "gui_test_support.h"

namespace isoquill::testing {

// The page entered by its tab and a click into the formula field.
struct FragmentProgram : Program {
    FragmentProgram() { open(); }

    void open() const {
        clickTab(1);
        QTest::mouseClick(Edit11, Qt::LeftButton);
    }
    // Observed peaks typed on the Compare page; then back to this page.
    void addObservedPeaks(const QList<std::pair<QString, QString>>& peaks) const {
        clickTab(0);
        for (const auto& [mass, abundance] : peaks) addPeak(mass, abundance);
        open();
    }
    void clickCell(QTableView* grid, int col, int row, Qt::MouseButton button = Qt::LeftButton) const {
        QTest::mouseClick(grid->viewport(), button, {}, grid->visualRect(grid->model()->index(row, col)).center());
    }
    // Per row from `row` on, a click on its von cell, then its keys (von,
    // Tab, bis) where the window's focus is, active or not (the offscreen
    // platform activates the plot when it shows); the last bis cell's editor
    // stays open.
    void typeRanges(int row, const QStringList& keys) const {
        for (const QString& rowKeys : keys) {
            clickCell(StringGrid1, 1, row++);
            for (QChar key : rowKeys) QTest::keyClick(windows->form1.focusWidget(), key.toLatin1());
        }
    }
    // Typed into the field, which is then left with Tab.
    static void leave(QLineEdit* field, const QString& text) {
        typeInto(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
    }
};

class FragmentPageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Tab order and the labels' accelerators; the formula's text is not
    // selected when the focus comes back to it. Target and tolerance show the
    // value taken, a decimal comma read as the point; observed peaks replace
    // a typed target when the page is entered. Each result row's error is
    // the one the comparison of its formula shows, and after Generate the
    // comparison table shows the last candidate; a search the chain refuses
    // leaves no stale candidates. Typed counts are shown as Generate took
    // them (clamped to 0..200, unreadable as 0), refused or not, and stay
    // with their row position; counts no Generate took are gone at the next
    // formula edit. A click on another cell commits the open edit and takes
    // the next digits.
    void fieldsKeysRangesAndTheComparisonErrors() {
        FragmentProgram page;
        QStringList shown{page.Edit12->text() + "|" + page.Edit13->text()};
        QStringList visited{focusName(), press(Qt::Key_Tab), press(Qt::Key_Tab), press(Qt::Key_Tab)};
        page.Button5->setFocus();
        visited << press(Qt::Key_Tab) << press(Qt::Key_M, Qt::AltModifier) << press(Qt::Key_T, Qt::AltModifier);
        QCOMPARE(visited.join(' '), "Edit11 Edit12 Edit13 StringGrid1 StringGrid2 Edit12 Edit13");
        QCOMPARE(page.StringGrid2->currentIndex(), page.StringGrid2->model()->index(0, 0));  // where the keys start
        FragmentProgram::leave(page.Edit12, QStringLiteral("180.0634"));
        shown << page.Edit12->text() << focusName();
        QTest::keyClick(page.Edit13, Qt::Key_Tab);
        shown << page.Edit13->text();
        FragmentProgram::leave(page.Edit13, QStringLiteral("1,5"));
        shown << page.Edit13->text();
        page.addObservedPeaks({{"180", "100"}, {"181", "20"}, {"182", "5"}});
        shown << page.Edit12->text();
        QCOMPARE(shown, (QStringList{"    0.000|0.5000", "  180.063", "Edit13", "   0.500", "   1.500", "  180.240"}));

        typeInto(page.Edit11, QStringLiteral("C6H12O6"));
        press(Qt::Key_Tab);
        QCOMPARE(press(Qt::Key_Backtab), QStringLiteral("Edit11"));
        QCOMPARE(page.Edit11->selectedText(), QString());
        page.typeRanges(1, {"5\t7", "8\t12", "5\t6"});
        QTest::mouseClick(page.Button5, Qt::LeftButton);
        const QStringList afterGenerate = gridLines(page.StringGrid4);
        page.clickCell(page.StringGrid2, 0, 1);
        QCOMPARE(gridLines(page.StringGrid4), afterGenerate);
        page.clickCell(page.StringGrid2, 0, 0);
        const long double error = squaredErrorSum(page.state.comparison);
        QCOMPARE(page.StringGrid2->cell(2, 0), QString::fromStdString(formatReal(roundReal48(error), 4, 1)));

        page.addObservedPeaks({{"2000000000", "50"}});
        QTest::mouseClick(page.Button5, Qt::LeftButton);
        const QString tooWide = QString::fromUtf8(ComparisonTooWideError().what()) + '.';
        QCOMPARE(page.errors, QStringList({tooWide, tooWide}));  // the Add's comparison, then Generate's
        QCOMPARE(gridLines(page.StringGrid2), QStringList{"|||"});

        page.typeRanges(1, {"3\t250", "-4\tx", " 4"});
        page.Button5->click();  // as by the accelerator: the focus stays in the open cell editor
        QCOMPARE(gridLines(page.StringGrid1, 1, 3),
                 (QStringList{" C|    3|  200", " H|    0|    0", " O|    4|    6"}));
        page.typeRanges(2, {"7\t9"});
        typeInto(page.Edit11, QStringLiteral("NH3"));
        QCOMPARE(gridLines(page.StringGrid1, 1, 3), (QStringList{" N|    3|  200", " H|    0|    0", "||"}));
        typeInto(page.Edit11, QStringLiteral("Cll"));
        QCOMPARE(gridLines(page.StringGrid1, 1, 1), QStringList{"||"});
        page.clickCell(page.StringGrid1, 2, 2);
        page.clickCell(page.StringGrid1, 1, 1, Qt::RightButton);  // moves no cell
        QCOMPARE(page.StringGrid1->currentIndex(), page.StringGrid1->model()->index(2, 2));
    }

    // Candidates of mass 16 +- 0.5 from C 0..5, H 0..5, N 0..1; Ctrl+C copies
    // them as numbers and plain formulas. Generate takes the fields as shown,
    // by accelerator and by Enter. A click shows the plot and hands the row's
    // formula to the Compare page, whose field shows it as soon as the page is
    // in front; a right click acts on the row selected before, not the one
    // under the mouse. Entering the page control restores the first two
    // result widths; leaving the Compare page hides the plot. No stale
    // candidates stand under a search the candidate cap refuses; the busy
    // cursor is gone. A long run shows its progress; Cancel ends it with an
    // empty grid and the formula table as typed, and nothing reported.
    void generateTakesTheFieldsAsShownHandsTheFormulaOnAndCancels() {
        FragmentProgram page;
        typeInto(page.Edit11, QStringLiteral("CH4N"));
        page.typeRanges(3, {"0\t1"});
        FragmentProgram::leave(page.Edit12, QStringLiteral("16"));
        QTest::mouseClick(page.Button5, Qt::LeftButton);
        QCOMPARE(copied(page.StringGrid2),
                 QStringLiteral("Mass\tDeviation\tError\tFormula\n16.023\t0.02\t0.0\tH2N1\n16.042\t0.04\t0.0\tC1H4\n"));
        typeInto(page.Edit13, QStringLiteral("0.03"));
        QTest::keyClick(page.Edit13, Qt::Key_G, Qt::AltModifier);
        QTRY_COMPARE(page.Edit13->text(), QStringLiteral("   0.030"));  // the accelerator clicks a moment later
        QCOMPARE(page.StringGrid2->rowCount(), 1);
        typeInto(page.Edit12, QStringLiteral("16.04"));
        QTest::keyClick(page.Edit12, Qt::Key_Return);
        QCOMPARE(gridLines(page.StringGrid2, 1, 1), QStringList{"   16.042 : | 0.00 : | 0.0| C1  H4 "});

        QVERIFY(!page.windows->form12.isVisible());
        page.clickCell(page.StringGrid2, 0, 1);
        QVERIFY(page.windows->form12.isVisible());
        QCOMPARE(focusName(), QStringLiteral("StringGrid2"));
        page.windows->form1.Vergleich_handle(QStringLiteral("H2O"));
        page.clickCell(page.StringGrid2, 0, 0, Qt::RightButton);
        for (int col : {0, 1}) page.StringGrid2->setColumnWidth(col, 10);
        page.find<QPushButton>("Button2")->setFocus();
        page.clickTab(0);
        QCOMPARE(QList<int>({page.StringGrid2->columnWidth(0), page.StringGrid2->columnWidth(1)}), QList({80, 60}));
        // In front, the Compare page shows the clicked candidate its table shows, the focus still on the tabs.
        QCOMPARE(page.Edit2->text() + "|" + focusName(), QStringLiteral("C1H4|qt_tabwidget_tabbar"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(page.Edit2->text() + "|" + focusName(), QStringLiteral("C1H4|Edit3"));
        QCOMPARE(page.StringGrid4->cell(4, 0), QStringLiteral("  16.0"));
        QVERIFY(page.windows->form12.isVisible());
        page.clickTab(0);
        QVERIFY(!page.windows->form12.isVisible());
        press(Qt::Key_Tab);
        QVERIFY(page.windows->form12.isVisible());

        page.addObservedPeaks({{"999", "100"}, {"1000", "60"}, {"1001", "20"}});
        typeInto(page.Edit11, QStringLiteral("CHNOS"));
        page.typeRanges(1, QStringList(5, "0\t200"));
        FragmentProgram::leave(page.Edit12, QStringLiteral("1000"));
        FragmentProgram::leave(page.Edit13, QStringLiteral("1000"));
        QTest::mouseClick(page.Button5, Qt::LeftButton);
        QCOMPARE(page.errors, QStringList{QString::fromUtf8(TooManyCandidatesError().what()) + '.'});
        QCOMPARE(gridLines(page.StringGrid2), QStringList{"|||"});
        QCOMPARE(page.StringGrid2->verticalHeader()->count(), 1);  // the rows the view shows

        page.typeRanges(3, {"0\t30", "0\t40", "0\t5"});
        FragmentProgram::leave(page.Edit13, QStringLiteral("2"));
        const FormulaTable typed = page.state.formula.formulaTable;
        QString label;
        int shown = 0;  // times the dialog was seen; after Cancel it stays hidden
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) return;
            ++shown;
            label = dialog->labelText();
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        });
        watch.start(10);
        QTest::mouseClick(page.Button5, Qt::LeftButton);
        QVERIFY2(label.startsWith(QStringLiteral("Kandidaten gefunden: ")), qPrintable(label));
        QCOMPARE(shown, 1);
        QCOMPARE(gridLines(page.StringGrid2), QStringList{"|||"});
        QVERIFY(std::equal(typed.begin(), typed.end(), page.state.formula.formulaTable.begin(), [](auto& x, auto& y) {
            return x.symbol == y.symbol && x.element == y.element && x.count == y.count && x.countReal == y.countReal;
        }));
        QCOMPARE(page.errors.size(), 1);
        QVERIFY(!QApplication::overrideCursor());
    }

    // Tens of thousands of rows are written on a thread: the key returns at
    // once, and the text lands though a new Generate empties the grid meanwhile.
    void aHugeResultGridCopiesOffTheWindowsThreadAndTheCopyLands() {
        FragmentProgram page;
        typeInto(page.Edit11, QStringLiteral("CH"));  // the formula the codes name
        ResultTable table{30'000, {}, page.state.formula, 2, storeReal48(1000)};
        for (int i = 0; i < 30'000; ++i) {
            const auto c = static_cast<std::uint8_t>(i / 200), h = static_cast<std::uint8_t>(i % 200);
            table.rows.push_back({{c, h}, storeReal48(12 * c + h), storeReal48(i % 7)});
        }
        page.StringGrid2->setTable(table);
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(page.StringGrid2, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
        page.StringGrid2->setTable({});
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::clipboard()->text() != QStringLiteral("before"), 20'000);
        const QStringList lines = QApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.size(), 30'002);  // the header, the rows and the empty rest after the last "\n"
        QCOMPARE(lines[1], QStringLiteral("0.000\t-1000.00\t0.0\t"));  // no formula: both counts 0
        QCOMPARE(lines[30'000], QStringLiteral("1987.000\t987.00\t4.0\tC149H199"));
    }

    // The high-resolution controls start at the laid-out search, sit in free
    // space and are reached by Tab and by their accelerators. Glucose
    // measured at 180.0634: average masses within 0.01 u give H8N2O9 but not
    // C6H12O6, monoisotopic ones within 5 ppm the reverse; [M+H]+ at 181.0707
    // within 2 ppm only as an ion of charge +1. Unchecked again, the rows are
    // the first run's. Observed peaks give the lightest mass as the
    // monoisotopic target; an element without isotope data is reported as
    // missing data and finds nothing.
    void monoisotopicPpmAndChargeFromTheKeyboard() {
        FragmentProgram page;
        auto* mono = page.find<QCheckBox>("CheckBox1");
        auto* ppm = page.find<QCheckBox>("CheckBox2");
        auto* charge = page.find<QComboBox>("ComboBox1");
        QVERIFY(!mono->isChecked() && !ppm->isChecked() && charge->currentText() == "0");
        for (const char* added : {"CheckBox1", "CheckBox2", "ComboBox1", "Label21"})
            for (const char* laidOut :
                 {"Edit11", "Edit12", "Label20", "Edit13", "Button5", "StringGrid1", "StringGrid2"})
                QVERIFY(!page.find<QWidget>(added)->geometry().intersects(page.find<QWidget>(laidOut)->geometry()));
        page.Button5->setFocus();
        QStringList visited;
        for (int i = 0; i < 4; ++i) visited << press(Qt::Key_Backtab);
        QCOMPARE(visited.join(' '), "CheckBox1 ComboBox1 CheckBox2 StringGrid1");

        const auto formulas = [&](const QString& target, const QString& tolerance) {
            FragmentProgram::leave(page.Edit12, target);
            FragmentProgram::leave(page.Edit13, tolerance);
            QTest::mouseClick(page.Button5, Qt::LeftButton);
            return QString(gridLines(page.StringGrid2).join('\n') + '\n').remove(' ');
        };
        typeInto(page.Edit11, QStringLiteral("CHNO"));
        page.typeRanges(1, {"0\t12", "0\t24", "0\t4", "0\t10"});
        const QString average = formulas("180.0634", "0.01");
        QVERIFY(average.contains("|H8N2O9\n") && !average.contains("|C6H12O6\n"));
        QCOMPARE(press(Qt::Key_O, Qt::AltModifier), QStringLiteral("CheckBox1"));
        QTRY_VERIFY(mono->isChecked());  // the accelerator clicks a moment later
        QCOMPARE(page.Edit12->text(), QStringLiteral(" 180.0630"));  // as the average run took it
        QCOMPARE(press(Qt::Key_P, Qt::AltModifier), QStringLiteral("CheckBox2"));
        QTRY_VERIFY(ppm->isChecked());
        const QString monoisotopic = formulas("180.0634", "5");
        QCOMPARE(page.Edit12->text(), QStringLiteral(" 180.0634"));
        QVERIFY(monoisotopic.contains("180.063:|-0.00:|0.0|C6H12O6\n") && !monoisotopic.contains("|H8N2O9\n"));
        QVERIFY(!formulas("181.0707", "2").contains("|C6H13O6\n"));
        QCOMPARE(press(Qt::Key_Z, Qt::AltModifier), QStringLiteral("ComboBox1"));
        QCOMPARE((press(Qt::Key_Down), charge->currentText()), QStringLiteral("+1"));
        QVERIFY(formulas("181.0707", "2").contains("|C6H13O6\n"));

        QTest::keyClick(charge, Qt::Key_Up);
        QTest::mouseClick(ppm, Qt::LeftButton);
        QTest::mouseClick(mono, Qt::LeftButton);
        QCOMPARE(formulas("180.0634", "0.01"), average);
        page.addObservedPeaks({{"180", "100"}, {"181", "20"}, {"182", "5"}});
        QTest::mouseClick(mono, Qt::LeftButton);
        QCOMPARE(page.Edit12->text(), QStringLiteral(" 180.0000"));
        typeInto(page.Edit11, QStringLiteral("CTc"));
        QTest::mouseClick(page.Button5, Qt::LeftButton);
        QCOMPARE(page.windows->form7.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Tc"));
        QVERIFY(page.windows->form7.isVisible() && page.errors.isEmpty());
        QCOMPARE(gridLines(page.StringGrid2), QStringList{"|||"});
    }
};

}  // namespace isoquill::testing

QTEST_MAIN(isoquill::testing::FragmentPageTest)
#include "fragment_page_test.moc"
