// The Compare page driven as a user drives it: keys into the fields, clicks
// on the buttons and the list, and the texts, focus and windows that result.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

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

    // Replaces the field's text by `text` as one paste from the clipboard.
    void paste(QLineEdit* field, const QString& text) const {
        QApplication::clipboard()->setText(text);
        QTest::mouseClick(field, Qt::LeftButton);
        if (!field->hasFocus()) QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    }

    QList<QStringList> table() const {
        QList<QStringList> rows;
        for (int r = 0; r < StringGrid4->rowCount(); ++r) rows << row(r);
        return rows;
    }

    // Ctrl+V on the peak list, as the user pastes there after a click on it.
    void pasteIntoList(const QString& text) const {
        QApplication::clipboard()->setText(text);
        QTest::mouseClick(ListBox2->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
        QTest::keyClick(ListBox2, Qt::Key_V, Qt::ControlModifier);
    }

    static QString copied(QWidget* table) {
        QApplication::clipboard()->clear();
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        return QApplication::clipboard()->text();
    }

    static void chooseFromMenu(QWidget* widget, const QString& entry) {
        QCOMPARE(widget->contextMenuPolicy(), Qt::ActionsContextMenu);
        for (QAction* action : widget->actions())
            if (action->text() == entry) return action->trigger();
        QFAIL(qPrintable(QStringLiteral("no context menu entry ") + entry));
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

// The program's own error box instead of the recorder: shown modal as the
// program shows it, read and closed as soon as it is shown, so it never blocks.
class ErrorBoxReader : public QObject {
public:
    ErrorBoxReader() : previous_(setErrorPresenter({})) { QApplication::instance()->installEventFilter(this); }
    ~ErrorBoxReader() override {
        QApplication::instance()->removeEventFilter(this);
        setErrorPresenter(previous_);
    }

    int shown = 0;
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box && event->type() == QEvent::Show) {
            ++shown;
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            QMetaObject::invokeMethod(box, &QDialog::reject, Qt::QueuedConnection);
        }
        return false;
    }

private:
    ErrorPresenter previous_;
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
        page.addPeak(QStringLiteral("14"), QStringLiteral("6,9"));  // a decimal comma
        QCOMPARE(page.lines(), (QStringList{"     11     5.00000", "     12   100.00000", "     13     1.10000",
                                            "     14     6.90000"}));
        QCOMPARE(program.windows->form1.compareState().observed.observedNext, 5);
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
        QTest::newRow("abundance below Real48") << "100" << "1e-40";
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
        page.type(page.Edit3, QStringLiteral("100"));
        page.type(page.Edit4, QStringLiteral("1e39"));
        QTest::keyClick(page.Edit4, Qt::Key_Return);
        QCOMPARE(program.errors.texts, QStringList{QStringLiteral("Überlauf bei Gleitkomma-Operation.")});
        QCOMPARE(page.ListBox2->count(), 0);
        QCOMPARE(program.windows->form1.compareState().observed.observedNext, 1);
        QCOMPARE(page.Edit3->text(), QStringLiteral("100"));
        QCOMPARE(page.Edit4->text(), QStringLiteral("1e39"));
        QCOMPARE(focusName(), QStringLiteral("Edit4"));

        // The box the user sees: an error icon, the application title as caption.
        ErrorBoxReader box;
        QTest::mouseClick(page.Button3, Qt::LeftButton);
        QCOMPARE(box.shown, 1);
        QCOMPARE(box.caption, QStringLiteral("Massaro"));
        QCOMPARE(box.text, QStringLiteral("Überlauf bei Gleitkomma-Operation."));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(page.ListBox2->count(), 0);
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

    // Typed key by key, every key reaches the field: a symbol met on the way
    // to a longer one (Z before Zn) is named without taking the focus and
    // hidden again; one run names every symbol it meets. Raised by anything
    // but typing, the window takes the focus and typing leaves it standing.
    void theMissingDataWindowLeavesTypingInTheFormulaAlone() {
        Program program;
        ComparePageView page(program);
        TForm7& missingData = program.windows->form7;
        auto* label = missingData.findChild<QLabel*>(QStringLiteral("Label1"));
        auto* memo = missingData.findChild<QTextEdit*>(QStringLiteral("Memo1"));
        page.type(page.Edit2, QStringLiteral("Z"));
        QVERIFY(missingData.isVisible());
        QCOMPARE(label->text(), QStringLiteral(" Z"));
        // The offscreen platform activates every window it shows; a real X
        // server leaves the focus in the field. Once shown, the window must
        // not take the focus itself.
        program.windows->form1.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&program.windows->form1));
        QTest::keyClicks(page.Edit2, QStringLiteral("Tc"));
        QCoreApplication::processEvents();  // where an activation would arrive
        QCOMPARE(focusName(), QStringLiteral("Edit2"));
        QCOMPARE(memo->toPlainText(), QStringLiteral("\nDie Daten zu diesem Element fehlen!\nZ Tc\n"));
        QTest::keyClick(page.Edit2, Qt::Key_Backspace);
        QTest::keyClick(page.Edit2, Qt::Key_Backspace);
        QCOMPARE(label->text(), QStringLiteral(" Z"));
        QCOMPARE(memo->toPlainText(), QStringLiteral("\nDie Daten zu diesem Element fehlen!\n\n"));
        QTest::keyClick(page.Edit2, Qt::Key_N);
        QVERIFY(!missingData.isVisible());
        QTest::keyClicks(page.Edit2, QStringLiteral("Cl2"));
        QCOMPARE(page.Edit2->text(), QStringLiteral("ZnCl2"));
        QVERIFY(!missingData.isVisible());
        QCOMPARE(page.row(0)[4], QStringLiteral(" 136.3"));

        page.paste(page.Edit2, QString());
        QTest::keyClicks(page.Edit2, QStringLiteral("TcPmO4"));
        QCOMPARE(page.Edit2->text(), QStringLiteral("TcPmO4"));
        QVERIFY(missingData.isVisible());
        QCOMPARE(label->text(), QStringLiteral("Pm"));
        QCOMPARE(memo->toPlainText(), QStringLiteral("\nDie Daten zu diesem Element fehlen!\nTc Pm\n"));

        // Entering the page brings the Fragment page's formula: the window
        // takes the focus as it always has, and later typing leaves it shown.
        QTest::mouseClick(missingData.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        auto* tabs = program.find<QTabWidget>("PageControl1")->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        auto* Edit11 = program.find<QLineEdit>("Edit11");
        QTest::mouseClick(Edit11, Qt::LeftButton);
        QTest::keyClicks(Edit11, QStringLiteral("QX"));
        QVERIFY(!missingData.isVisible());  // the Fragment page's formula runs no comparison
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        QTest::keyClick(tabs, Qt::Key_Tab);
        QCOMPARE(page.Edit2->text(), QStringLiteral("QX"));
        QVERIFY(QTest::qWaitForWindowActive(&missingData));
        QCOMPARE(focusName(), QStringLiteral("Button1"));
        QCOMPARE(label->text(), QStringLiteral(" X"));
        QCOMPARE(memo->toPlainText(), QStringLiteral("\nDie Daten zu diesem Element fehlen!\nQ X\n"));
        program.windows->form1.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&program.windows->form1));
        page.paste(page.Edit2, QStringLiteral("C"));
        QVERIFY(missingData.isVisible());
        QVERIFY(program.errors.texts.isEmpty());
    }

    // Glucose over and over, so every cut is a valid formula; the first 60
    // characters end in C6H1, a mass of 1514.3 in all.
    void aPastedTenThousandCharacterFormulaIsComparedOnItsFirstSixty() {
        Program program;
        ComparePageView page(program);
        QString text;
        while (text.size() < 10000) text += QStringLiteral("C6H12O6");
        text.truncate(10000);
        page.paste(page.Edit2, text.left(9997));
        QTest::keyClicks(page.Edit2, text.mid(9997));
        QCOMPARE(page.Edit2->text(), text);
        QCOMPARE(page.row(0)[4], QStringLiteral("1514.3"));
        const QList<QStringList> cut = page.table();

        page.paste(page.Edit2, text.left(60));
        QCOMPARE(page.table(), cut);

        page.paste(page.Edit2, QString());
        QTest::keyClicks(page.Edit2, QStringLiteral("H2O"));
        QCOMPARE(page.row(0)[4], QStringLiteral("  18.0"));
        QCOMPARE(page.row(1).mid(3), (QStringList{"  18.0", "100.0", "-100.00"}));
        QVERIFY(program.errors.texts.isEmpty());
    }

    void aFormulaWithCountsInTheMillionsShowsTheSizeError() {
        Program program;
        ComparePageView page(program);
        page.type(page.Edit2, QStringLiteral("Sn"));
        QApplication::clipboard()->setText(QStringLiteral("1000000"));
        QTest::keyClick(page.Edit2, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(page.Edit2->text(), QStringLiteral("Sn1000000"));
        QCOMPARE(program.errors.texts, QStringList{QStringLiteral("Die Formel ist zu groß für die Simulation.")});

        // The program goes on with the next formula.
        page.paste(page.Edit2, QString());
        QTest::keyClicks(page.Edit2, QStringLiteral("C6H12O6"));
        QCOMPARE(page.row(0)[4], QStringLiteral(" 180.2"));
        QCOMPARE(page.row(1), (QStringList{" 1", "   0.0", "  0.0", " 180.1", "100.0", "-100.00"}));
        QCOMPARE(program.errors.texts.size(), 1);
    }

    // The peak is stored, sorted and listed before the comparison runs, so
    // it stays when the comparison refuses a group wider than its rows.
    void observedMassesTooFarApartShowTheWidthErrorAndStayListed() {
        Program program;
        ComparePageView page(program);
        page.type(page.Edit2, QStringLiteral("C6H12O6"));
        page.addPeak(QStringLiteral("2000000000"), QStringLiteral("50"));
        page.addPeak(QStringLiteral("1"), QStringLiteral("100"));
        QCOMPARE(program.errors.texts,
                 QStringList{QStringLiteral("Die Peakgruppen sind zu breit für den Vergleich (mehr als 10000 Zeilen).")});
        QCOMPARE(page.lines(), (QStringList{"      1   100.00000", "2000000000    50.00000"}));
        QCOMPARE(program.windows->form1.compareState().observed.observedNext, 3);

        page.clickLine(1);
        QTest::mouseClick(page.Button4, Qt::LeftButton);
        QCOMPARE(page.lines(), QStringList{QStringLiteral("      1   100.00000")});
        QCOMPARE(page.row(0)[1], QStringLiteral("   1.0"));
        QCOMPARE(page.row(1), (QStringList{" 1", "   1.0", "100.0", " 180.1", "100.0", "   0.00"}));
        QCOMPARE(program.errors.texts.size(), 1);
    }

    // Line numbers count every line of the clipboard text. The unknown symbol Q
    // shows the missing-data window once per comparison, which counts them.
    void aPastedPeakListAddsEveryPeakWithOneComparisonAndOneMessage() {
        Program program;
        ComparePageView page(program);
        page.type(page.Edit2, QStringLiteral("Br2Q"));
        int comparisons = 0;
        MissingDataNotice& notice = program.windows->form1.compareState().showMissingData;
        notice = [&comparisons, shown = notice](const Symbol& symbol) {
            ++comparisons;
            shown(symbol);
        };

        page.paste(page.Edit4, QStringLiteral("12,5"));  // one line: an ordinary paste
        QCOMPARE(page.Edit4->text(), QStringLiteral("12,5"));
        page.paste(page.Edit3, QStringLiteral("7"));
        QCOMPARE(page.Edit3->text(), QStringLiteral("7"));
        QCOMPARE(page.ListBox2->count(), 0);
        QCOMPARE(comparisons, 0);

        page.paste(page.Edit3, QStringLiteral("Mass\tAbundance\n158\t51.4\n160;100\n"));
        QCOMPARE(page.lines(), (QStringList{"    158    51.40000", "    160   100.00000"}));
        QCOMPARE(page.Edit3->text(), QStringLiteral("7"));
        QCOMPARE(comparisons, 1);
        QVERIFY(program.errors.texts.isEmpty());

        QString list = QStringLiteral("m/z;Intensity\r\n\r\n162 48,6\r\n\t\r\nBr2 peak\r\n161,5\r\n");
        for (int mass = 200; mass < 450; ++mass) list += QString::number(mass) + QStringLiteral("\t1\r\n");
        list += QStringLiteral("450\t2\r\n");  // line 257: the 255th peak
        page.pasteIntoList(list);
        QCOMPARE(page.ListBox2->count(), observedPeakLimit);
        QCOMPARE(page.lines().mid(0, 5), (QStringList{"    158    51.40000", "    160   100.00000", "    161     5.00000",
                                                      "    162    48.60000", "    200     1.00000"}));
        QCOMPARE(page.lines().last(), QStringLiteral("    449     1.00000"));
        QCOMPARE(comparisons, 2);
        QCOMPARE(program.errors.texts, QStringList{QStringLiteral("2 Zeilen nicht übernommen: 5, 257.")});
        QCOMPARE(page.row(1).mid(1, 2), (QStringList{" 158.0", " 51.4"}));
    }

    // The copied texts are the cells in full, whatever the column shows, and
    // a copied peak list pastes back to the same peaks and the same table.
    void copyPutsWholeTablesOnTheClipboardAndPastesBack() {
        QString listText;
        QList<QStringList> typedTable;
        {
            Program program;
            ComparePageView page(program);
            page.type(page.Edit2, QStringLiteral("Br2"));
            page.addPeak(QStringLiteral("160"), QStringLiteral("100"));
            page.addPeak(QStringLiteral("158"), QStringLiteral("51.4"));
            page.addPeak(QStringLiteral("162"), QStringLiteral("48.6"));
            listText = page.copied(page.ListBox2);
            QCOMPARE(listText, QStringLiteral("Mass\tAbundance\n158\t51.40000\n160\t100.00000\n162\t48.60000\n"));
            QCOMPARE(page.copied(page.StringGrid4), QStringLiteral("Exp.\t160.0\t\tSim.\t159.8\tDiff.\n"
                                                                  "1\t158.0\t51.4\t157.8\t51.4\t0.00\n"
                                                                  "2\t0.0\t0.0\t0.0\t0.0\t0.00\n"
                                                                  "3\t160.0\t100.0\t159.8\t100.0\t0.00\n"
                                                                  "4\t0.0\t0.0\t0.0\t0.0\t0.00\n"
                                                                  "5\t162.0\t48.6\t161.8\t48.6\t-0.04\n"
                                                                  "\t\t\t\t\t0.00\n"));
            typedTable = page.table();
        }
        Program program;
        ComparePageView page(program);
        page.type(page.Edit2, QStringLiteral("Br2"));
        QApplication::clipboard()->setText(listText);
        page.chooseFromMenu(page.ListBox2, QStringLiteral("Paste peak list"));
        QCOMPARE(page.table(), typedTable);
        QApplication::clipboard()->clear();
        page.chooseFromMenu(page.ListBox2, QStringLiteral("Copy table"));
        QCOMPARE(QApplication::clipboard()->text(), listText);
        QVERIFY(program.errors.texts.isEmpty());
    }

    // The busy cursor is up while a comparison runs, and gone when it ends,
    // also when it ends in an error: before the error box shows.
    void comparisonsRunUnderTheBusyCursor() {
        Program program;
        ComparePageView page(program);
        CompareState& state = program.windows->form1.compareState();
        QList<bool> busyAtNotice, busyAtBox;
        const MissingDataNotice notice = state.showMissingData;
        state.showMissingData = [&](const Symbol& symbol) {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            busyAtNotice << (cursor && cursor->shape() == Qt::WaitCursor);
            notice(symbol);
        };
        const ErrorPresenter recorder =
            setErrorPresenter([&](const QString&) { busyAtBox << (QGuiApplication::overrideCursor() != nullptr); });

        page.type(page.Edit2, QStringLiteral("CQ"));
        page.paste(page.Edit2, QStringLiteral("C6H12O6"));
        page.addPeak(QStringLiteral("2000000000"), QStringLiteral("50"));
        page.addPeak(QStringLiteral("1"), QStringLiteral("100"));
        setErrorPresenter(recorder);
        QCOMPARE(busyAtNotice, QList<bool>{true});
        QCOMPARE(busyAtBox, QList<bool>{false});
        QVERIFY(!QGuiApplication::overrideCursor());
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
