// The Compare page's wiring, driven as a user drives it: keys into the
// fields, clicks on the buttons and the list, and the texts, focus and
// windows that result. The rules behind them are tested in the core.
#include "gui_test_support.h"

namespace isoquill::testing {

QStringList lines(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}

void clickLine(QListWidget* list, int line) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(line)).center());
}

// Replaces the field's text by `text` as one paste from the clipboard.
void pasteInto(QLineEdit* field, const QString& text) {
    QApplication::clipboard()->setText(text);
    typeInto(field, QString());
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
}

// Names the windows that get a ZOrderChange, the event each raise sends.
struct RaiseRecorder : QObject {
    QStringList raised;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ZOrderChange) raised << watched->objectName();
        return false;
    }
};

class ComparePageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The table has 22 rows up to 20 aligned rows, one more a row beyond: the
    // header, the data rows and the error row below them; a text the syntax
    // check refuses empties the data rows only. Enter walks formula -> mass
    // -> abundance and adds; the list is sorted, the fields emptied, and the
    // comparison rerun. Delete removes the selected line and disables itself;
    // without a selected line (the list was rebuilt) it removes nothing.
    // Typed key by key, every key reaches the field: a symbol met on the way
    // to a longer one (Z before Zn) is named without taking the focus and
    // hidden again; one run names every symbol it meets. Raised by entering
    // the page, the missing-data window takes the focus as it always has.
    void typedFormulasAndPeaksWriteTheComparisonTable() {
        Program page;
        typeInto(page.Edit2, QStringLiteral("Se3"));  // 21 aligned rows
        QCOMPARE(gridLines(page.StringGrid4, 21),
                 (QStringList{"21|   0.0|  0.0| 245.8|  0.3|  -0.31", "|||||29266.03"}));
        QTest::keyClicks(page.Edit2, QStringLiteral("h"));
        QCOMPARE(page.StringGrid4->cell(4, 0), QStringLiteral(" 236.9"));
        QCOMPARE(gridLines(page.StringGrid4, 1), QStringList(22, "|||||"));

        typeInto(page.Edit2, QStringLiteral("C6H12O6"));
        QCOMPARE(page.StringGrid4->rowCount(), 22);
        for (QChar key : QStringLiteral("\r181\r6,9\r")) QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
        QCOMPARE(page.Edit3->text() + page.Edit4->text() + "|" + focusName(), QStringLiteral("|Edit3"));
        page.addPeak(QStringLiteral("180"), QStringLiteral("100"));
        QCOMPARE(lines(page.ListBox2), (QStringList{"    180   100.00000", "    181     6.90000"}));
        QCOMPARE(gridLines(page.StringGrid4, 1, 1), QStringList{" 1| 180.0|100.0| 180.1|100.0|   0.00"});

        clickLine(page.ListBox2, 0);
        page.addPeak(QStringLiteral("182"), QStringLiteral("50"));
        QTest::mouseClick(page.Button4, Qt::LeftButton);
        clickLine(page.ListBox2, 0);
        QTest::mouseClick(page.Button4, Qt::LeftButton);
        QCOMPARE(lines(page.ListBox2), (QStringList{"    181     6.90000", "    182    50.00000"}));
        QVERIFY(!page.Button4->isEnabled());
        QCOMPARE(page.StringGrid4->cell(1, 1), QStringLiteral(" 181.0"));

        TForm7& missingData = page.windows->form7;
        auto* memo = missingData.findChild<QTextEdit*>(QStringLiteral("Memo1"));
        typeInto(page.Edit2, QStringLiteral("Z"));
        QVERIFY(missingData.isVisible());
        QCOMPARE(missingData.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral(" Z"));
        // The offscreen platform activates every window it shows; a real X
        // server leaves the focus in the field.
        page.windows->form1.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page.windows->form1));
        QTest::keyClicks(page.Edit2, QStringLiteral("Tc"));
        QCoreApplication::processEvents();  // where an activation would arrive
        QCOMPARE(focusName(), QStringLiteral("Edit2"));
        QCOMPARE(memo->toPlainText(), QStringLiteral("\nDie Daten zu diesem Element fehlen!\nZ Tc\n"));
        QTest::keyClicks(page.Edit2, QStringLiteral("\b\bnCl2"));
        QVERIFY(!missingData.isVisible());
        QCOMPARE(page.StringGrid4->cell(4, 0), QStringLiteral(" 136.3"));

        QTest::mouseClick(missingData.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        page.clickTab(1);
        typeInto(page.Edit11, QStringLiteral("QX"));
        QVERIFY(!missingData.isVisible());  // the Fragment page's formula runs no comparison
        page.clickTab(0);  // the page in front takes that formula, before the focus enters it
        QCOMPARE(page.Edit2->text(), QStringLiteral("QX"));
        QVERIFY(QTest::qWaitForWindowActive(&missingData));
        QCOMPARE(focusName(), QStringLiteral("Button1"));
        QCOMPARE(memo->toPlainText(), QStringLiteral("\nDie Daten zu diesem Element fehlen!\nQ X\n"));
    }

    // A refused peak leaves the fields as typed. A pasted list adds every peak
    // it can with one comparison and names the refused lines once; a one-line
    // paste into a field is an ordinary paste. The unknown symbol Q counts the
    // comparisons by their notices, each with the busy cursor up. Copied texts
    // are the cells in full; the list's menu copies and pastes the list. The
    // chain's refusals reach the error box, the busy cursor gone before it
    // shows; a peak is listed before the comparison runs, so it stays. An
    // abundance beyond Real48 shows the runtime's overflow error in the
    // program's own error box.
    void refusalsPastesAndCopies() {
        Program page;
        QList<bool> busyAtNotice, busyAtBox;
        page.state.showMissingData = [&, notice = page.state.showMissingData](const Symbol& symbol) {
            busyAtNotice << (QGuiApplication::overrideCursor() != nullptr);
            notice(symbol);
        };
        setErrorPresenter([&](const QString& text) {
            busyAtBox << (QGuiApplication::overrideCursor() != nullptr);
            page.errors << text;
        });
        page.addPeak(QStringLiteral("0"), QStringLiteral("100"));
        QCOMPARE(page.Edit3->text() + "|" + page.Edit4->text() + "|" + focusName(), QStringLiteral("0|100|Edit3"));
        typeInto(page.Edit2, QStringLiteral("Br2Q"));
        pasteInto(page.Edit3, QStringLiteral("7"));
        pasteInto(page.Edit3, QStringLiteral("Mass\tAbundance\n158\t51.4\nBr2 peak\n160;100\n"));
        QCOMPARE(lines(page.ListBox2), (QStringList{"    158    51.40000", "    160   100.00000"}));
        QCOMPARE(page.Edit3->text(), QStringLiteral("7"));
        QCOMPARE(busyAtNotice, (QList<bool>{true, true}));  // typed, then pasted as a list

        typeInto(page.Edit2, QStringLiteral("Br2"));
        QCOMPARE(copied(page.StringGrid4).section('\n', 5), "5\t0.0\t0.0\t161.8\t48.6\t-48.64\n\t\t\t\t\t2365.73\n");
        const QString listText = QStringLiteral("Mass\tAbundance\n158\t51.40000\n160\t100.00000\n");
        QCOMPARE(copied(page.ListBox2), listText);
        QCOMPARE(page.ListBox2->contextMenuPolicy(), Qt::ActionsContextMenu);
        const QList<QAction*> menu = page.ListBox2->actions();
        QCOMPARE(menu.size() == 3 ? menu[0]->text() + "|" + menu[1]->text() + "|" + menu[2]->text() : QString(),
                 "Paste peak list|Copy table|Liste &leeren");
        QApplication::clipboard()->clear();
        menu[1]->trigger();
        QCOMPARE(QApplication::clipboard()->text(), listText);
        menu[0]->trigger();
        QCOMPARE(page.ListBox2->count(), 4);

        typeInto(page.Edit2, QStringLiteral("Sn"));
        QApplication::clipboard()->setText(QStringLiteral("1000000"));
        QTest::keyClick(page.Edit2, Qt::Key_V, Qt::ControlModifier);
        pasteInto(page.Edit2, QStringLiteral("C6H12O6"));
        page.addPeak(QStringLiteral("2000000000"), QStringLiteral("50"));
        QCOMPARE(lines(page.ListBox2).last(), QStringLiteral("2000000000    50.00000"));
        clickLine(page.ListBox2, 4);
        QTest::mouseClick(page.Button4, Qt::LeftButton);
        QCOMPARE(page.StringGrid4->cell(1, 1), QStringLiteral(" 158.0"));
        QCOMPARE(page.errors, (QStringList{
            "Zeile 3 nicht übernommen: keine Zahl.", "Die Formel ist zu groß für die Simulation.",
            "Die Peakgruppen sind zu breit für den Vergleich (mehr als 10000 Zeilen)."}));
        QCOMPARE(busyAtBox, (QList<bool>{false, false, false}));

        setErrorPresenter({});
        QStringList box;  // read and closed as soon as it shows, so it never blocks
        QTimer::singleShot(0, [&box] {
            auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            box << shown->windowTitle() << shown->text() << (shown->icon() == QMessageBox::Critical ? "critical" : "");
            shown->reject();
        });
        page.addPeak(QStringLiteral("100"), QStringLiteral("1e39"));
        QCOMPARE(box, (QStringList{"Massaro", "Überlauf bei Gleitkomma-Operation.", "critical"}));
    }

    // Masses typed and pasted keep their decimals. Delete on the list deletes the selected peak as D&elete does
    // and nothing without a selection; "Liste &leeren" empties the list with
    // one comparison (the unknown Q counts them). A click into a field that
    // enters the page leaves the focus there; Tab enters at the mass.
    void decimalMassesListKeysFocusAndStacking() {
        Program page;
        int comparisons = 0;
        page.state.showMissingData = [&comparisons](const Symbol&) { ++comparisons; };
        typeInto(page.Edit2, QStringLiteral("Br2Q"));
        page.addPeak(QStringLiteral("157,8"), QStringLiteral("51.4"));
        page.addPeak(QStringLiteral("160"), QStringLiteral("100"));
        QApplication::clipboard()->setText(QStringLiteral("m/z\tIntensity\n161.83\t48.6\n"));
        QTest::keyClick(page.ListBox2, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(lines(page.ListBox2),
                 (QStringList{"  157.8    51.40000", "    160   100.00000", " 161.83    48.60000"}));
        QCOMPARE(page.StringGrid4->cell(1, 1) + page.StringGrid4->cell(1, 3) + page.StringGrid4->cell(1, 5),
                 " 157.8 160.0 161.8");  // the base rows meet

        clickLine(page.ListBox2, 1);
        comparisons = 0;
        QTest::keyClick(page.ListBox2, Qt::Key_Delete);
        QTest::keyClick(page.ListBox2, Qt::Key_Delete);
        QCOMPARE(lines(page.ListBox2), (QStringList{"  157.8    51.40000", " 161.83    48.60000"}));
        QCOMPARE(page.state.observed.count() * 10 + comparisons, 21);
        page.ListBox2->actions().last()->trigger();
        QCOMPARE(page.ListBox2->count() + page.state.observed.count() * 10 + comparisons, 2);

        // Each entry shows the plot again over the others; a missing-data
        // message still open is raised after it (offscreen keeps no stacking
        // order, so the requests are read: each raise sends a ZOrderChange).
        RaiseRecorder recorder;
        page.windows->form7.installEventFilter(&recorder);
        page.windows->form12.installEventFilter(&recorder);
        page.windows->form7.showMissingData(QStringLiteral(" Q"));
        for (QLineEdit* field : {page.Edit2, page.Edit4}) {
            page.clickTab(1);
            recorder.raised.clear();
            page.clickTab(0);
            QTest::mouseClick(field, Qt::LeftButton);
            QCOMPARE(focusName() + "|" + recorder.raised.join(' '),
                     field->objectName() + (field == page.Edit2 ? "|Form12 Form7" : "|Form12"));
            page.windows->form7.close();
        }
        page.clickTab(0);
        QCOMPARE(press(Qt::Key_Tab), QStringLiteral("Edit3"));
    }
};

}  // namespace isoquill::testing

QTEST_MAIN(isoquill::testing::ComparePageTest)
#include "compare_page_test.moc"
