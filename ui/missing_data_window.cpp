#include "ui/missing_data_window.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "ui/dialog_keys.h"
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

    Memo1 = makeMemo(panel1, "Memo1", 8, 8, 265, 49, QStringLiteral("\nDie Daten zu diesem Element fehlen!\n\n"),
                     Qt::AlignHCenter);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette memoColours = Memo1->palette();
    memoColours.setColor(QPalette::Base, memoColours.color(QPalette::Window));
    Memo1->setPalette(memoColours);

    Button1 = makeButton(panel1, "Button1", QStringLiteral("OK"), 8, 88, 81, 17);

    QFrame* panel2 = makePanel(panel1, "Panel2", 224, 64, 49, 41);
    Label1 = place(new QLabel(QStringLiteral("EL"), panel2), "Label1", 10, 6, 32, 28);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(msSansSerif(24));
    QPalette labelColours = Label1->palette();
    labelColours.setColor(QPalette::WindowText, Qt::black);
    Label1->setPalette(labelColours);

    connect(Button1, &QPushButton::clicked, this, guarded(this, &TForm7::Button1Click));
    pressOnEnterAndEscape(this, Button1);
}

void TForm7::showMissingData(const QString& symbol) {
    Label1->setText(symbol);
    if (inRun_) {
        const QString name = symbol.trimmed();
        if (!runSymbols_.contains(name)) runSymbols_ << name;
        nameSymbols(runSymbols_.size() > 1 ? runSymbols_.join(QLatin1Char(' ')) : QString());
    } else {
        nameSymbols(QString());
    }
    raisedByTyping_ = inRun_ && runTyped_;
    // Shown without activation, the window leaves the focus in the field
    // being typed into, so no keystroke is lost.
    setAttribute(Qt::WA_ShowWithoutActivating, raisedByTyping_);
    show();
    raise();
    if (!raisedByTyping_) activateWindow();
}

// The memo's third line, empty in the layout; its centring stays.
void TForm7::nameSymbols(const QString& names) {
    QTextCursor line(Memo1->document()->findBlockByNumber(2));
    line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    line.insertText(names);
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

MissingDataRun::MissingDataRun(TForm7* window, Start start) : window_(window && !window->inRun_ ? window : nullptr) {
    if (!window_) return;
    window_->inRun_ = true;
    window_->runTyped_ = start == Start::Typing;
    window_->runSymbols_.clear();
}

MissingDataRun::~MissingDataRun() {
    if (!window_) return;
    window_->inRun_ = false;
    if (window_->runTyped_ && window_->runSymbols_.isEmpty() && window_->raisedByTyping_) window_->close();
}
