#include "ui/missing_data_window.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextEdit>

#include "ui/error_box.h"
#include "ui/fonts.h"
#include "ui/form_layout.h"

using namespace isoquill;

TForm7::TForm7(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Fehlende Daten"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSingleBorder(this, 677, 104, 303, 134);
    setFont(msSansSerif(11));

    QFrame* panel1 = makePanel(this, "Panel1", 8, 8, 281, 113);

    QTextEdit* memo1 = makeMemo(panel1, "Memo1", 8, 8, 265, 49, QStringLiteral("\nDie Daten zu diesem Element fehlen!\n\n"),
                                Qt::AlignHCenter);
    memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette memoColours = memo1->palette();
    memoColours.setColor(QPalette::Base, memoColours.color(QPalette::Window));
    memo1->setPalette(memoColours);

    Button1 = makeButton(panel1, "Button1", QStringLiteral("OK"), 8, 88, 81, 17);

    QFrame* panel2 = makePanel(panel1, "Panel2", 224, 64, 49, 41);
    Label1 = place(new QLabel(QStringLiteral("EL"), panel2), "Label1", 10, 6, 32, 28);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(msSansSerif(24));
    QPalette labelColours = Label1->palette();
    labelColours.setColor(QPalette::WindowText, Qt::black);
    Label1->setPalette(labelColours);

    connect(Button1, &QPushButton::clicked, this, guarded(this, &TForm7::Button1Click));
}

void TForm7::showMissingData(const QString& symbol) {
    Label1->setText(symbol);
    show();
    raise();
    activateWindow();
}

void TForm7::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Button1->setFocus();
    QWidget::changeEvent(event);
}

// Only the margin around Panel1 is the window's own background; presses on
// the panels reach here too, since panels do not take them.
void TForm7::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && rect().contains(at) && !childAt(at)) runGuarded([this] { Button1Click(); });
}

void TForm7::Button1Click() { close(); }
