// Start-up and the main window: what the user sees when the program opens,
// with and without its element data file, and the window's own buttons.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "ui/string_grid.h"
#include "gui_test_support.h"

using namespace isoquill;
using namespace isoquill::testing;

namespace {

QList<int> columnWidths(const StringGrid* grid) {
    QList<int> widths;
    for (int col = 0; col < grid->columnCount(); ++col) widths << grid->columnWidth(col);
    return widths;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensOnlyTheMainWindowWithTheComparePageInFront() {
        Program program;
        const ProgramWindows& windows = *program.windows;
        QVERIFY(program.errors.texts.isEmpty());
        QVERIFY(windows.form1.isVisible());
        QVERIFY(!windows.form12.isVisible());
        QVERIFY(!windows.form10.isVisible());
        QVERIFY(!windows.form7.isVisible());
        QCOMPARE(windows.form1.windowTitle(), QStringLiteral("Isoquill"));
        QCOMPARE(windows.form1.size(), QSize(502, 467));
        QCOMPARE(windows.form1.minimumSize(), windows.form1.maximumSize());

        const auto* pages = program.find<QTabWidget>("PageControl1");
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("TabSheet1"));
        QCOMPARE(pages->tabText(0), QStringLiteral("&Compare"));
        QCOMPARE(pages->tabText(1), QStringLiteral("&Fragment"));
        QVERIFY(!program.find<QPushButton>("Button4")->isEnabled());

        const auto* table = program.find<StringGrid>("StringGrid4");
        QCOMPARE(table->rowCount(), 22);
        QCOMPARE(columnWidths(table), (QList<int>{28, 42, 36, 42, 36, 40}));
        for (int row = 0; row < table->rowCount(); ++row)
            for (int col = 0; col < table->columnCount(); ++col) QCOMPARE(table->cell(col, row), QString());

        const auto* ranges = program.find<StringGrid>("StringGrid1");
        QCOMPARE(ranges->cell(0, 0), QStringLiteral("Element"));
        QCOMPARE(ranges->cell(1, 0), QStringLiteral(" von "));
        QCOMPARE(ranges->cell(2, 0), QStringLiteral(" bis"));
    }

    void fixedPitchFieldsStayFixedPitch() {
        Program program;
        for (const char* name : {"Edit2", "ListBox2", "StringGrid4"}) {
            const QFontInfo font(program.find<QWidget>(name)->font());
            QVERIFY2(font.fixedPitch(), name);
        }
    }

    void tabWalksThePageInItsOrder() {
        Program program;
        auto* Edit2 = program.find<QLineEdit>("Edit2");
        QTest::mouseClick(Edit2, Qt::LeftButton);  // entering the page puts the focus into Edit3
        QCOMPARE(focusName(), QStringLiteral("Edit3"));
        QStringList visited;
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << focusName();
        }
        // Delete is disabled and skipped; after the page come the window's buttons.
        QCOMPARE(visited, (QStringList{"Edit4", "Button3", "StringGrid4", "ListBox2", "Exit", "Button2"}));
    }

    // A damaged file is reported once and ends the start-up steps, so the
    // table keeps its five laid-out columns; the program goes on with what it read.
    void aDamagedElementFileIsReportedOnceAndTheProgramGoesOn_data() {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("mass");
        QTest::newRow("missing") << noElementFile << "Datei nicht gefunden." << "   0.0";
        QTest::newRow("0 bytes") << qint64(0) << "Lesen nach Dateiende (EOF)." << "   0.0";
        // Records 0 to 119 are read, so formulas still have their elements.
        QTest::newRow("one byte short") << qint64(20811) << "Lesen nach Dateiende (EOF)." << " 180.2";
    }
    void aDamagedElementFileIsReportedOnceAndTheProgramGoesOn() {
        QFETCH(qint64, bytes);
        QFETCH(QString, error);
        QFETCH(QString, mass);
        Program program(bytes);
        QCOMPARE(program.errors.texts, QStringList{error});
        QVERIFY(program.windows->form1.isVisible());
        const auto* table = program.find<StringGrid>("StringGrid4");
        QCOMPARE(columnWidths(table), (QList<int>{46, 46, 46, 46, 46}));
        QCOMPARE(program.find<StringGrid>("StringGrid1")->cell(0, 0), QString());
        typeInto(program.find<QLineEdit>("Edit2"), QStringLiteral("C6H12O6"));
        QCOMPARE(gridRow(table, 0).mid(3, 2), (QStringList{"Sim.", mass}));
        QCOMPARE(program.errors.texts.size(), 1);
    }

    void aboutShowsTheOneAboutWindowInFront() {
        Program program;
        auto* about = program.find<QPushButton>("Button2");
        QTest::mouseClick(about, Qt::LeftButton);
        TForm10& form10 = program.windows->form10;
        QVERIFY(QTest::qWaitForWindowActive(&form10));
        QCOMPARE(form10.windowTitle(), QStringLiteral("About Peakwright 1.01.02"));
        QCOMPARE(focusName(), QStringLiteral("Button1"));

        program.windows->form1.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&program.windows->form1));
        QTest::mouseClick(about, Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowActive(&form10));
        int aboutWindows = 0;
        for (const QWidget* window : QApplication::topLevelWidgets()) aboutWindows += qobject_cast<const TForm10*>(window) != nullptr;
        QCOMPARE(aboutWindows, 1);

        QTest::mouseClick(form10.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        QVERIFY(!form10.isVisible());
    }

    // Lines 15 to 21 credit the program only: seven lines, the second and fourth empty.
    void theAboutTextCreditsOnlyTheProgram() {
        Program program;
        const QStringList lines =
            program.windows->form10.findChild<QTextEdit*>(QStringLiteral("Memo1"))->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 24);
        QCOMPARE(lines[0], QStringLiteral("With that tool you can compare an observed massspectra "));
        QCOMPARE(lines[23], QStringLiteral("or any kind of donations are welcome."));
        const QStringList credit = lines.mid(14, 7);
        QCOMPARE(credit[0], QStringLiteral("Isoquill"));
        QCOMPARE(credit[1], QString());
        QCOMPARE(credit[3], QString());
        QCOMPARE(lines[21], QString());
    }

    void exitEndsTheProgramWhileOtherWindowsAreOpen() {
        Program program;
        QTest::mouseClick(program.find<QPushButton>("Button2"), Qt::LeftButton);
        program.windows->form1.showPlotWindow();
        // The event loop ends; the long watchdog only keeps a fault from hanging the run.
        QTimer::singleShot(0, [&] { QTest::mouseClick(program.find<QPushButton>("Exit"), Qt::LeftButton); });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { QApplication::exit(1); });
        watchdog.start(60000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!program.windows->form1.isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
