// The plot window paints the core's layout of the last comparison, read
// back pixel by pixel, at the window's size.
#include <QImage>
#include <QTest>

#include "compare/plot_window.h"

using namespace isoquill;

class PlotWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Blank before the first comparison. Then rows (observed, simulated):
    // 30 / none, 100 / 100, none / 30; at 410 x 380 the baseline is at 340,
    // 100 % at 40, slots of 100 pixels centred at 60, 160 and 260.
    void paintsTheLastComparisonAtTheWindowsSize() {
        Comparison comparison;
        TForm12 plot(comparison);
        QCOMPARE(plot.windowTitle(), QStringLiteral("Vergleich beobachtetes Spektrum mit dem berechneten"));
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));
        auto* paintBox = plot.findChild<QWidget*>(QStringLiteral("PaintBox1"));
        QImage blank = paintBox->grab().toImage();
        QCOMPARE(blank.size(), QSize(193, 613));
        blank.fill(Qt::white);
        QCOMPARE(paintBox->grab().toImage(), blank);

        comparison.rowCount = 3;
        comparison.alignedObserved.resize(4);
        comparison.alignedSimulated.resize(4);
        comparison.alignedObserved[1].abundance = 30;
        comparison.alignedObserved[2].abundance = 100;
        comparison.alignedSimulated[2].abundance = 100;
        comparison.alignedSimulated[3].abundance = 30;
        plot.resize(410, 380);
        QTRY_COMPARE(paintBox->size(), QSize(410, 380));
        const QImage image = paintBox->grab().toImage();
        const QColor red(255, 0, 0), blue(0, 0, 255), white(Qt::white);
        const struct { int x, y; QColor colour; } pixels[] = {
            {157, 339, red}, {157, 40, red}, {157, 39, white}, {163, 339, blue}, {163, 40, blue}, {163, 39, white}};
        for (const auto& pixel : pixels)
            QVERIFY2(image.pixelColor(pixel.x, pixel.y) == pixel.colour, qPrintable(QStringLiteral("%1,%2").arg(pixel.x).arg(pixel.y)));
    }
};

QTEST_MAIN(PlotWindowTest)
#include "plot_window_test.moc"
