#include "fragment/fragment_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QHeaderView>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <optional>
#include <thread>

#include "chem/formula.h"
#include "chem/number_text.h"
#include "ui/no_select_edit.h"
#include "fragment/mass_mode.h"
#include "fragment/result_grid.h"
#include "fragment/scoring.h"
#include "ui/busy_cursor.h"
#include "ui/string_grid.h"
#include "ui/error_box.h"
#include "ui/fonts.h"
#include "ui/form_layout.h"
#include "ui/latin1_text.h"
#include "ui/program_context.h"
#include "ui/page_focus.h"

using namespace isoquill;

namespace {

constexpr int rangeGridRows = 15;  // header and 14 element rows
constexpr int rangeGridRowHeight = 18;  // all 15 rows fit in the grid's 282 pixels
constexpr int resultRowHeight = 20;
// A Generate that takes longer shows its progress and can be cancelled; the
// window repaints meanwhile either way.
constexpr int progressDelayMs = 300;
constexpr int progressPollMs = 50;  // the dialog's figures

// Whole-pixel advances (7 pixels a character), as the widths of the result
// columns were laid out for: "  180.156 : " then just fits its 80 pixels.
QFont gridFont() {
    QFont font = courierNew(12);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

}  // namespace

FragmentPage::FragmentPage(ProgramContext& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("TabSheet4"));

    Edit11 = place(new NoSelectEdit(this), "Edit11", 48, 8, 385, 23);
    Edit11->setFont(courierNew(12));
    Edit12 = place(new QLineEdit(this), "Edit12", 48, 45, 56, 21);
    Edit13 = place(new QLineEdit(this), "Edit13", 170, 45, 57, 21);

    Label18 = makeLabel(this, "Label18", QStringLiteral("&Formula"), 8, 12);
    Label18->setBuddy(Edit11);
    Label19 = makeLabel(this, "Label19", QStringLiteral("&Mass"), 8, 49);
    Label19->setBuddy(Edit12);
    Label20 = makeLabel(this, "Label20", QStringLiteral("&Tolerance:"), 114, 49);
    Label20->setBuddy(Edit13);

    // The high-resolution settings, in the free space between the tolerance
    // and Generate: the unit beside the tolerance, then the charge, and the
    // mass mode below them.
    CheckBox2 = place(new QCheckBox(QStringLiteral("&ppm"), this), "CheckBox2", 233, 45, 46, 21);
    CheckBox2->setToolTip(QStringLiteral("Toleranz in ppm der Zielmasse statt in u"));
    ComboBox1 = place(new QComboBox(this), "ComboBox1", 298, 45, 50, 21);
    ComboBox1->addItems({QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral("+1")});
    ComboBox1->setCurrentIndex(1);
    ComboBox1->setToolTip(QStringLiteral("Ladung des Ions: m/z = Masse − Ladung · Elektronenmasse"));
    Label21 = makeLabel(this, "Label21", QStringLiteral("&z:"), 284, 49);
    Label21->setBuddy(ComboBox1);
    CheckBox1 = place(new QCheckBox(QStringLiteral("m&onoisotopisch"), this), "CheckBox1", 233, 67, 119, 17);
    CheckBox1->setToolTip(QStringLiteral("Monoisotopische Massen (häufigstes Isotop) statt mittlerer Atommassen"));

    Button5 = makeButton(this, "Button5", QStringLiteral("&Generate"), 354, 43, 79, 25);

    StringGrid1 = place(new StringGrid(3, rangeGridRows, 1, 1, rangeGridRowHeight, this), "StringGrid1", 48, 85, 173, 282);
    StringGrid1->setFont(gridFont());
    StringGrid1->horizontalHeader()->setDefaultSectionSize(50);
    StringGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    StringGrid2 = place(new ResultGrid(resultRowHeight, this), "StringGrid2", 230, 85, 203, 282);
    StringGrid2->setFont(gridFont());
    StringGrid2->horizontalHeader()->setDefaultSectionSize(200);
    StringGrid2->setShowGrid(false);
    StringGrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);

    setTabOrder(Edit11, Edit12);
    setTabOrder(Edit12, Edit13);
    setTabOrder(Edit13, StringGrid1);
    setTabOrder(StringGrid1, CheckBox2);
    setTabOrder(CheckBox2, ComboBox1);
    setTabOrder(ComboBox1, CheckBox1);
    setTabOrder(CheckBox1, Button5);
    setTabOrder(Button5, StringGrid2);

    connect(Edit11, &QLineEdit::textChanged, this, guarded(this, &FragmentPage::Edit11Change));
    connect(Button5, &QPushButton::clicked, this, guarded(this, &FragmentPage::Button5Click));
    connect(Edit12, &QLineEdit::returnPressed, this, guarded(this, &FragmentPage::Button5Click));
    connect(Edit13, &QLineEdit::returnPressed, this, guarded(this, &FragmentPage::Button5Click));
    connect(StringGrid2, &ResultGrid::mouseDown, this, guarded(this, &FragmentPage::StringGrid2MouseDown));
    connect(CheckBox1, &QCheckBox::toggled, this, guarded(this, &FragmentPage::CheckBox1Click));
    connect(CheckBox2, &QCheckBox::toggled, this, guarded(this, &FragmentPage::CheckBox2Click));
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, guarded(this, &FragmentPage::ComboBox1Change));
    connect(new PageFocus(this), &PageFocus::entered, this, guarded(this, &FragmentPage::TabSheet4Enter));
    Edit12->installEventFilter(this);
    Edit13->installEventFilter(this);
}

void FragmentPage::clearRangeTable() { fragment_.rangeTable = {}; }

void FragmentPage::writeRangeGridHeader() {
    StringGrid1->setCell(0, 0, QStringLiteral("Element"));
    StringGrid1->setCell(1, 0, QStringLiteral(" von "));
    StringGrid1->setCell(2, 0, QStringLiteral(" bis"));
}

void FragmentPage::setInitialResultColumnWidths() {
    StringGrid2->setColumnWidth(0, 80);
    StringGrid2->setColumnWidth(1, 60);
    StringGrid2->setColumnWidth(2, 40);
}

void FragmentPage::setSearchDefaults() {
    fragment_.massTolerance = storeReal48(0.5L);
    fragment_.targetMass = storeReal48(0.0L);
}

void FragmentPage::PageControl1Enter() {
    StringGrid2->setColumnWidth(0, 80);
    StringGrid2->setColumnWidth(1, 60);
}

bool FragmentPage::eventFilter(QObject* watched, QEvent* event) {
    // Leaving the field counts, whatever the focus moves to inside the window;
    // a popup or another window taking the focus does not.
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == Edit12) runGuarded([this] { Edit12Change(); });
            if (watched == Edit13) runGuarded([this] { Edit13Exit(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FragmentPage::Edit11Change() {
    Formula& formula = form_.compareState().formula;
    clearFormula(formula);
    clearRangeGrid();
    setFormulaText(formula, latin1(Edit11->text()));
    if (checkFormulaSyntax(formula) != 0) return;
    parseFormula(formula, form_.elementTable());
    initRanges(fragment_, formula, form_.elementTable());
    for (int row = 1; row < StringGrid1->rowCount() && formula.formulaTable[row - 1].count > 0; ++row)
        writeRangeRow(row);
}

void FragmentPage::TabSheet4Enter() {
    takeObservedTarget();
    Edit13->setText(fromLatin1(formatReal(loadReal48(fragment_.massTolerance), 6, 4)));
}

void FragmentPage::Edit12Change() {
    fragment_.targetMass = storeReal48(readNumber(latin1(Edit12->text())));
    showTargetMass();
}

// Monoisotopic targets are typed to four decimals, and Generate takes the
// target from the field as shown: it keeps them, within the laid-out width.
void FragmentPage::showTargetMass() {
    const int decimals = fragment_.massMode == MassMode::monoisotopic ? 4 : 3;
    Edit12->setText(fromLatin1(formatReal(loadReal48(fragment_.targetMass), 9, decimals)));
}

// Observed peaks replace the target, as the mass mode takes it from them.
void FragmentPage::takeObservedTarget() {
    const Real48 observedTarget = observedTargetMass(fragment_.massMode, form_.compareState());
    if (loadReal48(observedTarget) > 0.0L) fragment_.targetMass = observedTarget;
    showTargetMass();
}

// As entering the page would, the new mode's target is taken.
void FragmentPage::CheckBox1Click() {
    fragment_.massMode = CheckBox1->isChecked() ? MassMode::monoisotopic : MassMode::average;
    takeObservedTarget();
}

void FragmentPage::CheckBox2Click() {
    fragment_.toleranceUnit = CheckBox2->isChecked() ? ToleranceUnit::ppm : ToleranceUnit::u;
}

void FragmentPage::ComboBox1Change() { fragment_.ionCharge = ComboBox1->currentIndex() - 1; }

void FragmentPage::Edit13Exit() {
    fragment_.massTolerance = storeReal48(readNumber(latin1(Edit13->text())));
    Edit13->setText(fromLatin1(formatReal(loadReal48(fragment_.massTolerance), 8, 3)));
}

// The run uses what the fields show, as if they had been left. The previous
// results are released first, so a refused or cancelled run leaves the grid
// empty and two result lists never exist at once.
void FragmentPage::Button5Click() {
    if (generating_) return;
    const BusyCursor busy;
    Edit12Change();
    Edit13Exit();
    StringGrid1->endEditing();
    StringGrid2->setTable({});
    CompareState& compare = form_.compareState();
    setFormulaText(compare.formula, latin1(Edit11->text()));
    parseFormula(compare.formula, form_.elementTable());
    initRanges(fragment_, compare.formula, form_.elementTable());
    takeRangeGrid();
    GenerateResult result;
    try {
        generateOffThread(compare, result);
    } catch (const RunCancelled&) {
        return;
    } catch (const NoMonoisotopicMassError& missing) {
        showNotices(compare, missing.symbols());
        return;
    } catch (...) {
        // Scoring one candidate after another would have shown these before the error.
        if (result.scoring) showNotices(compare, result.scoring->notices);
        throw;
    }
    LastComparison last;
    if (result.scoring) last = applyScoring(compare, form_.elementTable(), *result.scoring);
    StringGrid2->setTable(std::move(result.table));
    StringGrid2->setColumnWidth(0, 80);
    StringGrid2->setColumnWidth(1, 60);
    // Scoring ran the comparison for every candidate; only the last one can
    // ever be seen, so the table and plot are written once, for it.
    if (last.ran) form_.showComparison(last.error);
}

// The enumeration and scoring run on a worker thread that reads the shared
// comparison state only; the window thread leaves it alone meanwhile.
void FragmentPage::generateOffThread(const CompareState& compare, GenerateResult& result) {
    RunControl control;
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    QEventLoop loop;  // declared before the worker, which must be joined before the loop goes
    generating_ = true;
    fragment_.control = &control;
    const auto idle = qScopeGuard([this] {
        fragment_.control = nullptr;
        generating_ = false;
    });
    {
        std::jthread worker([&] {
            try {
                generateCandidates(fragment_, compare, form_.elementTable(), result);
            } catch (...) {
                failure = std::current_exception();
            }
            done.store(true);
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        // However the wait ends, returning or throwing, the run stops before
        // the join: joining a run that goes on would freeze the window.
        const auto stop = qScopeGuard([&] { control.cancel = true; });
        waitForRun(loop, control, done);
    }
    if (failure) std::rethrow_exception(failure);
}

// Events are processed while the run lasts, so the windows repaint. For the
// first moments no input is taken; then a modal progress dialog takes it and
// offers Cancel. The run quits `loop` when it ends; leaving the program
// meanwhile cancels it.
void FragmentPage::waitForRun(QEventLoop& loop, RunControl& control, const std::atomic<bool>& done) {
    bool delayed = false;
    QTimer::singleShot(progressDelayMs, &loop, [&] {
        delayed = true;
        loop.quit();
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (done.load()) return;
    if (!delayed) {
        control.cancel = true;
        return;
    }

    QProgressDialog dialog(window());
    dialog.setWindowTitle(QStringLiteral("Generate"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(0);
    const auto update = [&] {
        const std::size_t toScore = control.toScore.load();
        dialog.setLabelText(QStringLiteral("Kandidaten gefunden: %1\nKandidaten bewertet: %2")
                                .arg(control.found.load())
                                .arg(control.scored.load()));
        if (toScore == 0) {
            dialog.setRange(0, 0);
        } else {
            dialog.setRange(0, 1000);
            dialog.setValue(static_cast<int>(control.scored.load() * 1000 / toScore));
        }
    };
    update();
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, update);
    // Cancel hides the dialog, and a later figure must not show it again
    // while the run winds down.
    connect(&dialog, &QProgressDialog::canceled, &loop, [&] {
        control.cancel = true;
        poll.stop();
    });
    poll.start(progressPollMs);
    QGuiApplication::changeOverrideCursor(Qt::BusyCursor);
    const QPointer<QWidget> active = QApplication::activeWindow();
    dialog.show();
    loop.exec();
    if (!done.load()) control.cancel = true;
    // Not every platform hands the activation back when the dialog closes.
    dialog.hide();
    if (active) {
        active->activateWindow();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void FragmentPage::StringGrid2MouseDown() {
    const BusyCursor busy;
    const QString formulaText = StringGrid2->cell(3, StringGrid2->selectionTop()).remove(QLatin1Char(' '));
    form_.showPlotWindow();
    form_.Vergleich_handle(formulaText);
}

void FragmentPage::clearRangeGrid() {
    for (int row = 1; row < StringGrid1->rowCount(); ++row) StringGrid1->blankRow(row);
}

void FragmentPage::writeRangeRow(int row) {
    const ElementRange& range = fragment_.rangeTable[static_cast<std::size_t>(row - 1)];
    StringGrid1->setCell(0, row, fromLatin1(form_.compareState().formula.formulaTable[static_cast<std::size_t>(row - 1)].symbol.text()));
    StringGrid1->setCell(1, row, fromLatin1(formatInteger(range.von, 5)));
    StringGrid1->setCell(2, row, fromLatin1(formatInteger(range.bis, 5)));
}

// Range row 15 has no grid row, so like an empty one it keeps no element.
void FragmentPage::takeRangeGrid() {
    for (int row = 1; row <= rangeRowCount; ++row) {
        if (row >= StringGrid1->rowCount() || StringGrid1->cell(0, row).isEmpty()) {
            clearRangeRow(fragment_, row);
            continue;
        }
        const ElementRange& range = setRangeCounts(fragment_, row, readInteger(latin1(StringGrid1->cell(1, row))),
                                                   readInteger(latin1(StringGrid1->cell(2, row))));
        StringGrid1->setCell(1, row, fromLatin1(formatInteger(range.von, 5)));
        StringGrid1->setCell(2, row, fromLatin1(formatInteger(range.bis, 5)));
    }
}
