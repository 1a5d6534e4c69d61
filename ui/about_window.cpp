#include "ui/about_window.h"

#include <QEvent>
#include <QFrame>
#include <QPushButton>
#include <QStringList>

#include "ui/dialog_keys.h"
#include "ui/error_box.h"
#include "ui/fonts.h"
#include "ui/form_layout.h"

using namespace isoquill;

namespace {

// Lines 1 to 24; the trailing blanks belong to the text.
const char* const aboutLines[] = {
    "With that tool you can compare an observed massspectra ",
    "with a simulated peakgroup. Both basepeaks will be ",
    "centered to each ofther.",
    "",
    "With the fragment generator you can assign molecular ",
    "formulas",
    "to a given mass within a range of possible elements. ",
    "",
    "If there are experimental data avaiable the least square error ",
    "will be calculated for each generated molecular formula.",
    "",
    "Please obey Lowercase and uppercase letters",
    "for the formulas.",
    "",
    "Isoquill",
    "",
    "Isotope patterns and fragment formulas",
    "",
    "Questions and bug reports:",
    "the Isoquill project's issue tracker",
    "on its source code page",
    "",
    "Comments, especially good ones, ",
    "or any kind of donations are welcome.",
};

}  // namespace

TForm10::TForm10(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("About Peakwright 1.01.02"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSingleBorder(this, 550, 91, 402, 486);
    setFont(msSansSerif(11));

    QFrame* panel1 = makePanel(this, "Panel1", 8, 7, 385, 426);

    QStringList lines;
    for (const char* line : aboutLines) lines << QString::fromLatin1(line);
    makeMemo(panel1, "Memo1", 8, 8, 369, 393, lines.join(QLatin1Char('\n')), Qt::AlignRight);

    Button1 = makeButton(this, "Button1", QStringLiteral("&Close"), 16, 448, 81, 25);

    connect(Button1, &QPushButton::clicked, this, &QWidget::close);
    pressOnEnterAndEscape(this, Button1);
}

void TForm10::showInFront() {
    show();
    raise();
    activateWindow();
}

void TForm10::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Button1->setFocus();
    QWidget::changeEvent(event);
}
