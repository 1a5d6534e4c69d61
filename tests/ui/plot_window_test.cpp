// The plot window's picture, read back pixel by pixel from a known
// comparison: the lines the core lays out, painted at the window's size.
#include <QImage>
#include <QTest>

#include "compare/plot_window.h"

using namespace isoquill;

namespace {

struct Pixel {
    int x, y;
    QColor colour;
};

const QColor red(255, 0, 0), blue(0, 0, 255), green(0, 128, 0), white(255, 255, 255);

QImage picture(TForm12& plot) {
    plot.show();
    if (!QTest::qWaitForWindowExposed(&plot)) return {};
    return plot.findChild<QWidget*>(QStringLiteral("PaintBox1"))->grab().toImage();
}

void comparePixels(const QImage& image, std::initializer_list<Pixel> pixels) {
    for (const Pixel& pixel : pixels)
        QVERIFY2(image.pixelColor(pixel.x, pixel.y) == pixel.colour, qPrintable(QStringLiteral("%1,%2").arg(pixel.x).arg(pixel.y)));
}

}  // namespace

class PlotWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Blank before the first comparison. Then rows (observed, simulated):
    // 30 / none, 100 / 100, none / 30. At 193 x 613: baseline 573, slots of
    // 45 pixels centred at 32, 77 and 122; 30 % is 159 pixels high, 100 %
    // 533. At 410 x 380: baseline 340, 100 % 300, slots of 100 centred at 60,
    // 160 and 260.
    void drawsTheBarsTicksAndAxisOfTheLastComparisonAtTheWindowsSize() {
        Comparison comparison;
        TForm12 plot(comparison);
        QCOMPARE(plot.windowTitle(), QStringLiteral("Vergleich beobachtetes Spektrum mit dem berechneten"));
        QImage blank(picture(plot));
        QCOMPARE(blank.size(), QSize(193, 613));
        blank.fill(white);
        QCOMPARE(picture(plot), blank);

        comparison.rowCount = 3;
        comparison.alignedObserved.resize(4);
        comparison.alignedSimulated.resize(4);
        comparison.alignedObserved[1].abundance = 30;
        comparison.alignedObserved[2].abundance = 100;
        comparison.alignedSimulated[2].abundance = 100;
        comparison.alignedSimulated[3].abundance = 30;
        plot.PaintBox1Paint();
        comparePixels(picture(plot), {{29, 572, red}, {29, 414, red}, {29, 413, white}, {28, 500, white}, {30, 500, white},
                                      {74, 40, red}, {74, 39, white}, {80, 572, blue}, {80, 40, blue}, {119, 500, white},
                                      {32, 578, green}, {32, 579, white}, {27, 573, green}, {122, 573, green},
                                      {26, 573, white}, {123, 573, white}});
        plot.resize(410, 380);
        comparePixels(picture(plot), {{157, 339, red}, {157, 40, red}, {157, 39, white}, {163, 339, blue}, {163, 40, blue}});
    }
};

QTEST_MAIN(PlotWindowTest)
#include "plot_window_test.moc"
