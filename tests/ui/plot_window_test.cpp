// The plot window's picture, read back pixel by pixel from a known comparison.
#include <QImage>
#include <QTest>

#include "compare/plot_window.h"

using namespace isoquill;

namespace {

// Rows (observed, simulated): 30 / none, 100 / 100, none / 30.
Comparison knownComparison() {
    Comparison comparison;
    comparison.rowCount = 3;
    comparison.alignedObserved.resize(4);
    comparison.alignedSimulated.resize(4);
    comparison.alignedObserved[1].abundance = 30;
    comparison.alignedObserved[2].abundance = 100;
    comparison.alignedSimulated[2].abundance = 100;
    comparison.alignedSimulated[3].abundance = 30;
    return comparison;
}

QImage picture(TForm12& plot) {
    plot.show();
    if (!QTest::qWaitForWindowExposed(&plot)) return {};
    return plot.findChild<QWidget*>(QStringLiteral("PaintBox1"))->grab().toImage();
}

// The pixels of column x from y0 up to y1 (y1 < y0) all have `colour`.
bool columnIs(const QImage& image, int x, int y0, int y1, QColor colour) {
    for (int y = y1; y <= y0; ++y)
        if (image.pixelColor(x, y) != colour) return false;
    return true;
}

const QColor red(255, 0, 0), blue(0, 0, 255), green(0, 128, 0), white(255, 255, 255);

}  // namespace

class PlotWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hasTheDesignedCaptionAndSize() {
        const Comparison comparison;
        TForm12 plot(comparison);
        QCOMPARE(plot.windowTitle(), QStringLiteral("Vergleich beobachtetes Spektrum mit dem berechneten"));
        QCOMPARE(picture(plot).size(), QSize(193, 613));
    }

    void isBlankBeforeTheFirstComparison() {
        const Comparison comparison;
        TForm12 plot(comparison);
        const QImage image = picture(plot);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) QCOMPARE(image.pixelColor(x, y), white);
    }

    // At 193 x 613: plot height 533, baseline 573, slots of 45 pixels
    // centred at 32, 77 and 122; 30 % is 159 pixels high, 100 % 533.
    void drawsTheBarsTicksAndAxisOfTheComparison() {
        const Comparison comparison = knownComparison();
        TForm12 plot(comparison);
        const QImage image = picture(plot);
        QVERIFY(columnIs(image, 29, 572, 414, red));
        QCOMPARE(image.pixelColor(29, 413), white);
        QVERIFY(columnIs(image, 74, 572, 40, red));
        QVERIFY(columnIs(image, 80, 572, 40, blue));
        QCOMPARE(image.pixelColor(74, 39), white);
        QCOMPARE(image.pixelColor(35, 500), white);  // no simulated peak in row 1
        QVERIFY(columnIs(image, 125, 572, 414, blue));
        QCOMPARE(image.pixelColor(119, 500), white);  // no observed peak in row 3
        for (int x : {32, 77, 122}) QVERIFY(columnIs(image, x, 578, 573, green));
        for (int x = 27; x <= 122; ++x) QCOMPARE(image.pixelColor(x, 573), green);
        QCOMPARE(image.pixelColor(26, 573), white);
        QCOMPARE(image.pixelColor(123, 573), white);
    }

    void redrawsAtTheNewSizeAfterAResize() {
        const Comparison comparison = knownComparison();
        TForm12 plot(comparison);
        picture(plot);
        plot.resize(410, 380);  // plot height 300, baseline 340, slots of 100 centred at 60, 160, 260
        const QImage image = picture(plot);
        QVERIFY(columnIs(image, 157, 339, 40, red));
        QVERIFY(columnIs(image, 163, 339, 40, blue));
        QCOMPARE(image.pixelColor(157, 39), white);
    }
};

QTEST_MAIN(PlotWindowTest)
#include "plot_window_test.moc"
