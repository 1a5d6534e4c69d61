// The Compare page's wiring, driven as a user drives it: keys into the
// fields, clicks on the buttons and the list, and the texts, focus and
// windows that result. The rules behind them are tested in the core.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
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

struct CompareProgram : Program {
    QLineEdit* Edit2 = find<QLineEdit>("Edit2");
    QLineEdit* Edit3 = find<QLineEdit>("Edit3");
    QLineEdit* Edit4 = find<QLineEdit>("Edit4");
    QPushButton* Button3 = find<QPushButton>("Button3");
    QPushButton* Button4 = find<QPushButton>("Button4");
    QListWidget* ListBox2 = find<QListWidget>("ListBox2");
    StringGrid* StringGrid4 = find<StringGrid>("StringGrid4");
    CompareState& state = windows->form1.compareState();

    void addPeak(const QString& mass, const QString& abundance) const {
        typeInto(Edit3, mass);
        typeInto(Edit4, abundance);
        QTest::mouseClick(Button3, Qt::LeftButton);
    }
    QStringList lines() const {
        QStringList texts;
        for (int i = 0; i < ListBox2->count(); ++i) texts << ListBox2->item(i)->text();
        return texts;
    }
    QStringList row(int r) const { return gridRow(StringGrid4, r); }
    void clickLine(int line) const {
        QTest::mouseClick(ListBox2->viewport(), Qt::LeftButton, {}, ListBox2->visualItemRect(ListBox2->item(line)).center());
    }
    // What Ctrl+C on `widget` puts on the clipboard.
    static QString copied(QWidget* widget) {
        QApplication::clipboard()->clear();
        QTest::keyClick(widget, Qt::Key_C, Qt::ControlModifier);
        return QApplication::clipboard()->text();
    }
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
    QStringList seen;  // caption, text, "critical" per box

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box && event->type() == QEvent::Show) {
            seen << box->windowTitle() << box->text() << (box->icon() == QMessageBox::Critical ? "critical" : "other");
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
    // Header, data rows and the error row below them; a text the syntax check
    // refuses empties the data rows only.
    void typingAFormulaWritesTheComparisonTable() {
        CompareProgram page;
        typeInto(page.Edit2, QStringLiteral("C6H12O6"));
        QCOMPARE(page.row(0), (QStringList{"Exp.", "   0.0", "", "Sim.", " 180.2", "Diff."}));
        QCOMPARE(page.row(1), (QStringList{" 1", "   0.0", "  0.0", " 180.1", "100.0", "-100.00"}));
        const int rowCount = page.state.comparison.rowCount;
        QCOMPARE(page.StringGrid4->rowCount(), 22);
        QCOMPARE(page.row(rowCount + 1).mid(0, 2), (QStringList{"", ""}));
        QVERIFY(!page.row(rowCount + 1)[5].isEmpty());

        QTest::keyClicks(page.Edit2, QStringLiteral("h"));
        QCOMPARE(page.row(0)[4], QStringLiteral(" 180.2"));
        for (int r = 1; r < page.StringGrid4->rowCount(); ++r) QCOMPARE(page.row(r).join(QString()), QString());
    }

    // Enter walks formula -> mass -> abundance and adds; the list is sorted,
    // the fields emptied, and the comparison rerun.
    void enterAndAddWriteTheSortedListAndCompare() {
        CompareProgram page;
        typeInto(page.Edit2, QStringLiteral("C6H12O6"));
        QTest::keyClick(page.Edit2, Qt::Key_Return);
        QCOMPARE(focusName(), QStringLiteral("Edit3"));
        QTest::keyClicks(page.Edit3, QStringLiteral("181"));
        QTest::keyClick(page.Edit3, Qt::Key_Return);
        QCOMPARE(focusName(), QStringLiteral("Edit4"));
        QTest::keyClicks(page.Edit4, QStringLiteral("6,9"));
        QTest::keyClick(page.Edit4, Qt::Key_Return);
        page.addPeak(QStringLiteral("180"), QStringLiteral("100"));
        QCOMPARE(page.lines(), (QStringList{"    180   100.00000", "    181     6.90000"}));
        QCOMPARE(page.Edit3->text() + page.Edit4->text(), QString());
        QCOMPARE(focusName(), QStringLiteral("Edit3"));
        QCOMPARE(page.row(1), (QStringList{" 1", " 180.0", "100.0", " 180.1", "100.0", "   0.00"}));
        QCOMPARE(page.row(0)[1], QStringLiteral(" 180.1"));
    }

    // A refused peak leaves the fields as typed; an abundance beyond Real48
    // shows the runtime's overflow error in the program's error box.
    void refusedPeaksStayInTheFields() {
        CompareProgram page;
        page.addPeak(QStringLiteral("0"), QStringLiteral("100"));
        QCOMPARE(page.ListBox2->count(), 0);
        QCOMPARE(page.Edit3->text() + "|" + page.Edit4->text(), QStringLiteral("0|100"));
        QCOMPARE(focusName(), QStringLiteral("Edit3"));
        QVERIFY(page.errors.texts.isEmpty());

        page.Edit3->clear();
        page.Edit4->clear();
        page.addPeak(QStringLiteral("100"), QStringLiteral("1e39"));
        QCOMPARE(page.errors.texts, QStringList{QStringLiteral("Überlauf bei Gleitkomma-Operation.")});
        QCOMPARE(page.Edit3->text() + "|" + page.Edit4->text(), QStringLiteral("100|1e39"));
        ErrorBoxReader box;
        QTest::mouseClick(page.Button3, Qt::LeftButton);
        QCOMPARE(box.seen, (QStringList{"Massaro", "Überlauf bei Gleitkomma-Operation.", "critical"}));
        QCOMPARE(page.ListBox2->count(), 0);
    }

    // Delete removes the selected line and disables itself; without a
    // selected line (the list was rebuilt) it removes nothing.
    void deleteRemovesOnlyASelectedLine() {
        CompareProgram page;
        QVERIFY(!page.Button4->isEnabled());
        page.addPeak(QStringLiteral("100"), QStringLiteral("100"));
        page.clickLine(0);
        page.addPeak(QStringLiteral("101"), QStringLiteral("50"));
        QVERIFY(page.Button4->isEnabled());
        QTest::mouseClick(page.Button4, Qt::LeftButton);
        QCOMPARE(page.lines().size(), 2);
        QVERIFY(!page.Button4->isEnabled());

        page.clickLine(0);
        QTest::mouseClick(page.Button4, Qt::LeftButton);
        QCOMPARE(page.lines(), QStringList{QStringLiteral("    101    50.00000")});
        QCOMPARE(page.state.observed.observedNext, 2);
        QVERIFY(!page.Button4->isEnabled());
        QCOMPARE(page.row(1)[1], QStringLiteral(" 101.0"));
    }

    // One carbon atom simulates two peaks 1 u apart; 21 observed peaks on
    // every mass from 100 on give 21 aligned rows, one beyond the grid's 20.
    void theTableGrowsWithTheAlignedRows() {
        CompareProgram page;
        for (int i = 0; i < 21; ++i) page.addPeak(QString::number(100 + i), i == 0 ? QStringLiteral("100") : QStringLiteral("1"));
        typeInto(page.Edit2, QStringLiteral("C"));
        QCOMPARE(page.StringGrid4->rowCount(), 23);
        QCOMPARE(page.row(21)[0], QStringLiteral("21"));
        QVERIFY(!page.row(22)[5].isEmpty());
    }

    // Typed key by key, every key reaches the field: a symbol met on the way
    // to a longer one (Z before Zn) is named without taking the focus and
    // hidden again; one run names every symbol it meets. Raised by entering
    // the page, the window takes the focus as it always has.
    void theMissingDataWindowLeavesTypingInTheFormulaAlone() {
        CompareProgram page;
        TForm7& missingData = page.windows->form7;
        auto* label = missingData.findChild<QLabel*>(QStringLiteral("Label1"));
        auto* memo = missingData.findChild<QTextEdit*>(QStringLiteral("Memo1"));
        typeInto(page.Edit2, QStringLiteral("Z"));
        QVERIFY(missingData.isVisible());
        QCOMPARE(label->text(), QStringLiteral(" Z"));
        // The offscreen platform activates every window it shows; a real X
        // server leaves the focus in the field.
        page.windows->form1.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page.windows->form1));
        QTest::keyClicks(page.Edit2, QStringLiteral("Tc"));
        QCoreApplication::processEvents();  // where an activation would arrive
        QCOMPARE(focusName(), QStringLiteral("Edit2"));
        QCOMPARE(memo->toPlainText(), QStringLiteral("\nDie Daten zu diesem Element fehlen!\nZ Tc\n"));
        QTest::keyClick(page.Edit2, Qt::Key_Backspace);
        QTest::keyClick(page.Edit2, Qt::Key_Backspace);
        QTest::keyClicks(page.Edit2, QStringLiteral("nCl2"));
        QCOMPARE(page.Edit2->text(), QStringLiteral("ZnCl2"));
        QVERIFY(!missingData.isVisible());
        QCOMPARE(page.row(0)[4], QStringLiteral(" 136.3"));

        QTest::mouseClick(missingData.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        clickTab(page, 1);
        typeInto(page.find<QLineEdit>("Edit11"), QStringLiteral("QX"));
        QVERIFY(!missingData.isVisible());  // the Fragment page's formula runs no comparison
        clickTab(page, 0);
        QTest::keyClick(page.find<QTabWidget>("PageControl1")->tabBar(), Qt::Key_Tab);
        QCOMPARE(page.Edit2->text(), QStringLiteral("QX"));
        QVERIFY(QTest::qWaitForWindowActive(&missingData));
        QCOMPARE(focusName(), QStringLiteral("Button1"));
        QCOMPARE(memo->toPlainText(), QStringLiteral("\nDie Daten zu diesem Element fehlen!\nQ X\n"));
        QVERIFY(page.errors.texts.isEmpty());
    }

    // The chain's refusals reach the error box; the peak is listed before the
    // comparison runs, so it stays; the next formula works.
    void refusedComparisonsShowTheirErrorAndTheProgramGoesOn() {
        CompareProgram page;
        typeInto(page.Edit2, QStringLiteral("Sn"));
        QApplication::clipboard()->setText(QStringLiteral("1000000"));
        QTest::keyClick(page.Edit2, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(page.errors.texts, QStringList{QStringLiteral("Die Formel ist zu groß für die Simulation.")});

        pasteInto(page.Edit2, QStringLiteral("C6H12O6"));
        page.addPeak(QStringLiteral("2000000000"), QStringLiteral("50"));
        page.addPeak(QStringLiteral("1"), QStringLiteral("100"));
        QCOMPARE(page.errors.texts.last(),
                 QStringLiteral("Die Peakgruppen sind zu breit für den Vergleich (mehr als 10000 Zeilen)."));
        QCOMPARE(page.lines(), (QStringList{"      1   100.00000", "2000000000    50.00000"}));
        page.clickLine(1);
        QTest::mouseClick(page.Button4, Qt::LeftButton);
        QCOMPARE(page.row(1), (QStringList{" 1", "   1.0", "100.0", " 180.1", "100.0", "   0.00"}));
        QCOMPARE(page.errors.texts.size(), 2);
    }

    // A pasted list adds every peak it can with one comparison and names the
    // refused lines once; a one-line paste into a field is an ordinary paste.
    // The unknown symbol Q counts the comparisons by their notices.
    void aPastedPeakListAddsEveryPeakWithOneComparison() {
        CompareProgram page;
        typeInto(page.Edit2, QStringLiteral("Br2Q"));
        int comparisons = 0;
        page.state.showMissingData = [&comparisons, shown = page.state.showMissingData](const Symbol& symbol) {
            ++comparisons;
            shown(symbol);
        };
        pasteInto(page.Edit3, QStringLiteral("7"));
        QCOMPARE(page.Edit3->text(), QStringLiteral("7"));
        QCOMPARE(comparisons, 0);

        pasteInto(page.Edit3, QStringLiteral("Mass\tAbundance\n158\t51.4\nBr2 peak\n160;100\n"));
        QCOMPARE(page.lines(), (QStringList{"    158    51.40000", "    160   100.00000"}));
        QCOMPARE(page.Edit3->text(), QStringLiteral("7"));
        QCOMPARE(comparisons, 1);
        QCOMPARE(page.errors.texts, QStringList{QStringLiteral("1 Zeile nicht übernommen: 3.")});
        QCOMPARE(page.row(1).mid(1, 2), (QStringList{" 158.0", " 51.4"}));
    }

    // Copied texts are the cells in full; a copied peak list pastes back
    // through the list's menu to the same table.
    void copyPutsWholeTablesOnTheClipboardAndPastesBack() {
        QString listText;
        QList<QStringList> typedTable;
        {
            CompareProgram page;
            typeInto(page.Edit2, QStringLiteral("Br2"));
            page.addPeak(QStringLiteral("160"), QStringLiteral("100"));
            page.addPeak(QStringLiteral("158"), QStringLiteral("51.4"));
            listText = CompareProgram::copied(page.ListBox2);
            QCOMPARE(listText, QStringLiteral("Mass\tAbundance\n158\t51.40000\n160\t100.00000\n"));
            QCOMPARE(CompareProgram::copied(page.StringGrid4), QStringLiteral("Exp.\t159.3\t\tSim.\t159.8\tDiff.\n"
                                                                         "1\t158.0\t51.4\t157.8\t51.4\t0.00\n"
                                                                         "2\t0.0\t0.0\t0.0\t0.0\t0.00\n"
                                                                         "3\t160.0\t100.0\t159.8\t100.0\t0.00\n"
                                                                         "4\t0.0\t0.0\t0.0\t0.0\t0.00\n"
                                                                         "5\t0.0\t0.0\t161.8\t48.6\t-48.64\n"
                                                                         "\t\t\t\t\t2365.73\n"));
            typedTable = gridRows(page.StringGrid4);
        }
        CompareProgram page;
        typeInto(page.Edit2, QStringLiteral("Br2"));
        QApplication::clipboard()->setText(listText);
        const auto choose = [&page](const QString& entry) {
            for (QAction* action : page.ListBox2->actions())
                if (action->text() == entry) action->trigger();
        };
        QCOMPARE(page.ListBox2->contextMenuPolicy(), Qt::ActionsContextMenu);
        choose(QStringLiteral("Paste peak list"));
        QCOMPARE(gridRows(page.StringGrid4), typedTable);
        QApplication::clipboard()->clear();
        choose(QStringLiteral("Copy table"));
        QCOMPARE(QApplication::clipboard()->text(), listText);
        QVERIFY(page.errors.texts.isEmpty());
    }

    // The busy cursor is up while a comparison runs, and gone when it ends,
    // also when it ends in an error: before the error box shows.
    void comparisonsRunUnderTheBusyCursor() {
        CompareProgram page;
        QList<bool> busyAtNotice, busyAtBox;
        page.state.showMissingData = [&, notice = page.state.showMissingData](const Symbol& symbol) {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            busyAtNotice << (cursor && cursor->shape() == Qt::WaitCursor);
            notice(symbol);
        };
        const ErrorPresenter recorder =
            setErrorPresenter([&](const QString&) { busyAtBox << (QGuiApplication::overrideCursor() != nullptr); });
        typeInto(page.Edit2, QStringLiteral("CQ"));
        pasteInto(page.Edit2, QStringLiteral("C6H12O6"));
        page.addPeak(QStringLiteral("2000000000"), QStringLiteral("50"));
        page.addPeak(QStringLiteral("1"), QStringLiteral("100"));
        setErrorPresenter(recorder);
        QCOMPARE(busyAtNotice, QList<bool>{true});
        QCOMPARE(busyAtBox, QList<bool>{false});
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void enteringThePageShowsThePlotAndTheLastFormula() {
        CompareProgram page;
        TForm12& plot = page.windows->form12;
        QVERIFY(!plot.isVisible());
        page.windows->form1.Vergleich_handle(QStringLiteral("H2O"));  // as a fragment candidate click does
        QCOMPARE(page.Edit2->text(), QString());
        auto* tabs = page.find<QTabWidget>("PageControl1")->tabBar();
        QCOMPARE(focusName(), tabs->objectName());
        QTest::keyClick(tabs, Qt::Key_Tab);
        QVERIFY(plot.isVisible());
        QCOMPARE(focusName(), QStringLiteral("Edit3"));
        QCOMPARE(page.Edit2->text(), QStringLiteral("H2O"));
        clickTab(page, 0);
        QVERIFY(!plot.isVisible());
    }
};

QTEST_MAIN(ComparePageTest)
#include "compare_page_test.moc"
