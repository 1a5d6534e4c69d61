// Start-up and the shell's windows: what the user sees when the program
// opens, with and without its element data file; the About window and the
// missing-data message, their texts and keys; the plot window's drawing.
#include "gui_test_support.h"

namespace isoquill::testing {

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Only the main window, the Compare page in front with its empty table;
    // Tab walks the page, skipping the disabled Delete, then the buttons.
    // One About window however often asked for, in front with the focus on
    // Close. Both message windows close by their button, by Return, Enter
    // and Escape; the missing-data message also by a click on its own
    // background, not on its panels. The plot is blank before the first
    // comparison. Then rows (observed, simulated): 30 / none, 100 / 100,
    // none / 30; at 410 x 380 the baseline is at 340, 100 % at 40, slots of
    // 100 pixels centred at 60, 160 and 260.
    void theShellsWindowsAsTheyOpenAndClose() {
        Program program;
        ProgramWindows& windows = *program.windows;
        QVERIFY(!windows.form12.isVisible() && !windows.form10.isVisible() && !windows.form7.isVisible());
        QCOMPARE(windows.form1.windowTitle(), QStringLiteral("Isoquill"));
        QCOMPARE(QList({windows.form1.minimumSize(), windows.form1.maximumSize()}), QList<QSize>(2, {502, 467}));
        const auto* pages = program.find<QTabWidget>("PageControl1");
        QCOMPARE(QStringList({pages->tabText(0), pages->tabText(1)}), (QStringList{"&Compare", "&Fragment"}));
        QList<int> widths;
        for (int col = 0; col < 6; ++col) widths << program.StringGrid4->columnWidth(col);
        QCOMPARE(widths, (QList<int>{28, 42, 36, 42, 36, 40}));
        QCOMPARE(copied(program.StringGrid4), QString());  // a blank table copies nothing
        QCOMPARE(gridLines(program.StringGrid1, 0, 1), QStringList{"Element| von | bis"});

        QTest::mouseClick(program.Edit2, Qt::LeftButton);  // a click enters the page where it clicks
        QStringList visited{focusName()};
        for (int i = 0; i < 7; ++i) visited << press(Qt::Key_Tab);
        QCOMPARE(visited.join(' '), "Edit2 Edit3 Edit4 Button3 StringGrid4 ListBox2 Exit Button2");

        for (int i = 0; i < 2; ++i) {
            windows.form1.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&windows.form1));
            QTest::mouseClick(program.find<QPushButton>("Button2"), Qt::LeftButton);
            QVERIFY(QTest::qWaitForWindowActive(&windows.form10));
            QCOMPARE(focusName(), QStringLiteral("Button1"));
        }
        QCOMPARE(windows.form7.windowTitle(), QStringLiteral("Fehlende Daten"));
        QCOMPARE(windows.form10.windowTitle(), QStringLiteral("About Peakwright 1.01.02"));
        QCOMPARE(windows.form7.size(), QSize(303, 134));
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            for (QWidget* window : QList<QWidget*>{&windows.form7, &windows.form10}) {
                if (window == &windows.form10) windows.form10.showInFront();
                else windows.form7.showMissingData(QStringLiteral("Xx"));
                QVERIFY(QTest::qWaitForWindowActive(window));
                QTest::keyClick(QApplication::focusWidget(), key);
                QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
            }
        }
        windows.form7.showMissingData(QStringLiteral("Xx"));
        QTest::mouseClick(windows.form7.findChild<QFrame*>("Panel1"), Qt::LeftButton, {}, QPoint(120, 75));
        QTest::mouseClick(windows.form7.findChild<QLabel*>("Label1"), Qt::LeftButton);
        QVERIFY(windows.form7.isVisible());
        QTest::mouseClick(&windows.form7, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(!windows.form7.isVisible());

        TForm12& plot = windows.form12;
        QCOMPARE(plot.windowTitle(), QStringLiteral("Vergleich beobachtetes Spektrum mit dem berechneten"));
        plot.show();
        auto* paintBox = plot.findChild<QWidget*>(QStringLiteral("PaintBox1"));
        QImage blank = paintBox->grab().toImage();
        QCOMPARE(blank.size(), QSize(193, 613));
        blank.fill(Qt::white);
        QCOMPARE(paintBox->grab().toImage(), blank);
        Comparison& comparison = program.state.comparison;
        comparison.rowCount = 3;
        comparison.alignedObserved = {{}, {{}, 30}, {{}, 100}, {}};
        comparison.alignedSimulated = {{}, {}, {{}, 100}, {{}, 30}};
        plot.resize(410, 380);
        QTRY_COMPARE(paintBox->size(), QSize(410, 380));
        const QImage image = paintBox->grab().toImage();
        for (const auto& [x, colour] : {std::pair(157, QColor(Qt::red)), std::pair(163, QColor(Qt::blue))})
            QCOMPARE(QList<QColor>({image.pixelColor(x, 339), image.pixelColor(x, 40), image.pixelColor(x, 39)}),
                     QList<QColor>({colour, colour, Qt::white}));
    }

    // A damaged file is reported once and ends the start-up steps, so the
    // table keeps its five laid-out columns; the program goes on with what it read.
    void aDamagedElementFileIsReportedOnceAndTheProgramGoesOn() {
        const struct { qint64 bytes; const char *error, *mass; } cases[] = {
            {-1, "Datei nicht gefunden.", "   0.0"},
            {0, "Lesen nach Dateiende (EOF).", "   0.0"},
            {20811, "Lesen nach Dateiende (EOF).", " 180.2"},  // one byte short: records 0 to 119 are read
        };
        for (const auto& damaged : cases) {
            Program program(damaged.bytes);
            QCOMPARE(program.StringGrid1->cell(0, 0), QString());
            typeInto(program.Edit2, QStringLiteral("C6H12O6"));
            QCOMPARE(program.StringGrid4->cell(4, 0), QString::fromLatin1(damaged.mass));
            const int written = program.state.comparison.rowCount + 1;  // nothing of the sixth column below
            QCOMPARE(gridLines(program.StringGrid4, written), QStringList(22 - written, "||||"));
            QCOMPARE(program.errors, QStringList{damaged.error});
        }
    }
};

}  // namespace isoquill::testing

QTEST_MAIN(isoquill::testing::MainWindowTest)
#include "main_window_test.moc"
