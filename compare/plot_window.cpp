#include "compare/plot_window.h"

#include <QPainter>
#include <QVBoxLayout>

#include "compare/plot_layout.h"

namespace {

class PlotPaintBox : public QWidget {
public:
    PlotPaintBox(const isoquill::Comparison& comparison, QWidget* parent)
        : QWidget(parent), comparison_(comparison) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        for (const isoquill::PlotLine& line : isoquill::plotLines(comparison_, width(), height())) {
            const isoquill::PixelRun run = line.pixels();
            painter.fillRect(run.x, run.y, run.width, run.height, QColor::fromRgb(line.rgb));
        }
    }

private:
    const isoquill::Comparison& comparison_;
};

}  // namespace

TForm12::TForm12(const isoquill::Comparison& comparison, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("Vergleich beobachtetes Spektrum mit dem berechneten"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_ShowWithoutActivating);
    move(558, 30);
    resize(193, 613);

    PaintBox1 = new PlotPaintBox(comparison, this);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PaintBox1);
}

void TForm12::PaintBox1Paint() { PaintBox1->update(); }

void TForm12::showInFront() {
    show();
    raise();
}
