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

    auto* memo1 = new QTextEdit(panel1);
    memo1->setObjectName(QStringLiteral("Memo1"));
    memo1->setGeometry(8, 8, 265, 49);
    memo1->setReadOnly(true);
    memo1->setFont(msSansSerif(13));
    memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette memoColours = memo1->palette();
    memoColours.setColor(QPalette::Base, memoColours.color(QPalette::Window));
    memoColours.setColor(QPalette::Text, Qt::black);
    memo1->setPalette(memoColours);
    memo1->setPlainText(QStringLiteral("\nDie Daten zu diesem Element fehlen!\n\n"));
    memo1->selectAll();
    memo1->setAlignment(Qt::AlignHCenter);
    memo1->moveCursor(QTextCursor::Start);

    Button1 = makeButton(panel1, "Button1", QStringLiteral("OK"), 8, 88, 81, 17);

    QFrame* panel2 = makePanel(panel1, "Panel2", 224, 64, 49, 41);
    Label1 = new QLabel(QStringLiteral("EL"), panel2);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(10, 6, 32, 28);
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
