#include "compare/compare_page.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>

#include <array>
#include <stdexcept>

#include "chem/number_text.h"
#include "compare/comparison_table.h"
#include "compare/peak_list_text.h"
#include "ui/busy_cursor.h"
#include "ui/missing_data_window.h"
#include "ui/no_select_edit.h"
#include "ui/string_grid.h"
#include "ui/table_copy.h"
#include "ui/widget_commands.h"
#include "ui/error_box.h"
#include "ui/fonts.h"
#include "ui/form_layout.h"
#include "ui/latin1_text.h"
#include "ui/program_context.h"
#include "ui/page_focus.h"

using namespace isoquill;

namespace {

constexpr int laidOutColumnWidth = 46;
constexpr std::array<int, comparisonColumnCount> comparisonColumnWidths = {28, 42, 36, 42, 36, 40};
constexpr int comparisonGridRowHeight = 12;
constexpr int peakLineHeight = 15;

// StringGrid4's cells: vertical lines between the columns and lines around
// the header row, but none between the data rows.
class ComparisonGridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool header = index.row() == 0;
        const QPalette& colours = option.palette;
        const QRect cell = option.rect;
        painter->save();
        painter->fillRect(cell, header ? colours.button() : colours.base());
        painter->setPen(header ? colours.color(QPalette::ButtonText) : colours.color(QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(cell.adjusted(2, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data().toString());
        painter->setPen(colours.color(QPalette::Mid));
        painter->drawLine(cell.topRight(), cell.bottomRight());
        if (header) painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        painter->restore();
    }
};

}  // namespace

ComparePage::ComparePage(ProgramContext& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("TabSheet1"));

    // Created in tab order, which is also Qt's focus chain.
    Edit2 = place(new NoSelectEdit(this), "Edit2", 48, 8, 385, 23);
    Edit2->setFont(courierNew(12));
    Edit3 = place(new QLineEdit(this), "Edit3", 302, 82, 44, 21);
    Edit4 = place(new QLineEdit(this), "Edit4", 376, 81, 55, 21);
    Button3 = makeButton(this, "Button3", QStringLiteral("Ad&d"), 302, 105, 64, 19);

    StringGrid4 = place(new StringGrid(5, 22, 0, 0, comparisonGridRowHeight, this), "StringGrid4", 48, 67, 238, 293);
    StringGrid4->setFont(courierNew(9));
    StringGrid4->setShowGrid(false);
    StringGrid4->setItemDelegate(new ComparisonGridDelegate(StringGrid4));
    StringGrid4->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid4->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid4->setTabKeyNavigation(false);
    for (int col = 0; col < StringGrid4->columnCount(); ++col) StringGrid4->setColumnWidth(col, laidOutColumnWidth);

    ListBox2 = place(new QListWidget(this), "ListBox2", 301, 128, 131, 233);
    ListBox2->setFont(courierNew(12));
    ListBox2->setUniformItemSizes(true);
    // Lines wider than the box are clipped at its edge, as a list box does.
    ListBox2->setTextElideMode(Qt::ElideNone);
    ListBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    Button4 = makeButton(this, "Button4", QStringLiteral("D&elete"), 369, 105, 64, 19);
    Button4->setEnabled(false);

    Label8 = makeLabel(this, "Label8", QStringLiteral("&Formel"), 8, 12);
    Label8->setBuddy(Edit2);
    Masse = makeLabel(this, "Masse", QStringLiteral("Mass"), 302, 64);
    Label9 = makeLabel(this, "Label9", QStringLiteral("Abundance"), 374, 64);

    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Edit4);
    setTabOrder(Edit4, Button3);
    setTabOrder(Button3, StringGrid4);
    setTabOrder(StringGrid4, ListBox2);
    setTabOrder(ListBox2, Button4);

    connect(Edit2, &QLineEdit::textChanged, this, guarded(this, &ComparePage::Edit2Change));
    connect(Edit2, &QLineEdit::returnPressed, this, guarded(this, &ComparePage::Edit2KeyPress));
    connect(Edit3, &QLineEdit::returnPressed, this, guarded(this, &ComparePage::Edit3KeyPress));
    connect(Edit4, &QLineEdit::returnPressed, this, guarded(this, &ComparePage::Edit4KeyPress));
    connect(Button3, &QPushButton::clicked, this, guarded(this, &ComparePage::Button3Click));
    connect(Button4, &QPushButton::clicked, this, guarded(this, &ComparePage::Button4Click));
    // A selection made by mouse or keyboard; a click on the selected line too.
    connect(ListBox2, &QListWidget::itemSelectionChanged, this, [this] {
        if (!ListBox2->selectedItems().isEmpty()) runGuarded([this] { ListBox2Click(); });
    });
    connect(ListBox2, &QListWidget::itemClicked, this, guarded(this, &ComparePage::ListBox2Click));
    for (QWidget* control : QList<QWidget*>{Edit2, Edit3, Edit4, Button3, StringGrid4, ListBox2, Button4})
        control->installEventFilter(this);
    auto* focus = new PageFocus(this);
    connect(focus, &PageFocus::entered, this, guarded(this, &ComparePage::TabSheet1Enter));
    connect(focus, &PageFocus::left, this, guarded(this, &ComparePage::TabSheet1Exit));
    installClipboardCommands();
}

// A peak list pastes into the list, or into the mass and abundance fields
// when the clipboard holds more than one line; one line pastes into a field
// as usual. Both tables copy whole. Delete on the list deletes as D&elete;
// the list's menu also empties it.
void ComparePage::installClipboardCommands() {
    const auto pasteList = [this] {
        pastePeakList();
        return true;
    };
    onStandardKey(ListBox2, QKeySequence::Paste, pasteList);
    onStandardKey(ListBox2, QKeySequence::Delete, [this] {
        if (Button4->isEnabled()) Button4Click();
        return true;
    });
    addContextMenuEntry(ListBox2, QStringLiteral("Paste peak list"), [this] { pastePeakList(); });
    for (QLineEdit* field : {Edit3, Edit4}) {
        onStandardKey(field, QKeySequence::Paste, [pasteList] {
            return holdsSeveralLines(latin1(QApplication::clipboard()->text())) && pasteList();
        });
    }
    installTableCopy(ListBox2, [this] {
        QList<QStringList> rows;
        for (const auto& [mass, abundance] : peakListTable(form_.compareState().observed))
            rows << QStringList{fromLatin1(mass), fromLatin1(abundance)};
        return tableText(rows);
    });
    installTableCopy(StringGrid4);
    addContextMenuEntry(ListBox2, QStringLiteral("Liste &leeren"), [this] { clearPeakList(); });
}

void ComparePage::pastePeakList() {
    const BusyCursor busy;
    const PeakListPaste paste = addPeakList(form_.compareState().observed, latin1(QApplication::clipboard()->text()));
    if (paste.added > 0) {
        refreshPeakList();
        Vergleich_handle(Edit2->text());
    }
    if (const std::string message = peakListPasteMessage(paste); !message.empty()) throw std::runtime_error(message);
}

void ComparePage::clearPeakList() {
    const BusyCursor busy;
    form_.compareState().observed = ObservedPeaks{};
    ListBox2->clear();
    Button4->setEnabled(false);
    Vergleich_handle(Edit2->text());
}

void ComparePage::setComparisonColumns() {
    StringGrid4->setColumnCount(comparisonColumnCount);
    for (int col = 0; col < comparisonColumnCount; ++col) StringGrid4->setColumnWidth(col, comparisonColumnWidths[col]);
}

// The data rows are emptied before the chain runs, so an error it raises
// leaves them empty.
void ComparePage::Vergleich_handle(const QString& text) { compareFormula(text, false); }

// `typed`: the run comes from typing in the formula field, whose focus the
// missing-data message must then leave alone.
void ComparePage::compareFormula(const QString& text, bool typed) {
    const MissingDataRun run(form_.missingDataWindow(),
                             typed ? MissingDataRun::Start::Typing : MissingDataRun::Start::Other);
    init_boxen2();
    const std::optional<long double> error = runComparisonChain(form_.compareState(), form_.elementTable(), latin1(text));
    if (error) writeComparison(*error);
}

void ComparePage::showComparison(const std::optional<long double>& error) {
    init_boxen2();
    if (error) writeComparison(*error);
}

void ComparePage::writeComparison(long double error) {
    const CompareState& state = form_.compareState();
    const Comparison& comparison = state.comparison;
    StringGrid4->setRowCount(comparisonTableRowCount(comparison.rowCount));
    const ComparisonRow header = comparisonHeaderRow(comparison, state.formula.formulaMass);
    for (int col : {0, 1, 3, 4, 5}) writeCell(col, 0, header[col]);
    for (int r = 1; r <= comparison.rowCount; ++r) {
        const ComparisonRow row = comparisonDataRow(comparison, r);
        for (int col = 0; col < comparisonColumnCount; ++col) writeCell(col, r, row[col]);
    }
    writeCell(5, comparison.rowCount + 1, comparisonErrorText(error));
    form_.repaintPlot();
}

// Without "PSE.DAT" FormCreate stops before the sixth column exists; the grid
// does not write what belongs there.
void ComparePage::writeCell(int col, int row, const std::string& text) {
    StringGrid4->setCell(col, row, fromLatin1(text));
}

void ComparePage::init_boxen2() {
    for (int row = 1; row < StringGrid4->rowCount(); ++row) StringGrid4->blankRow(row);
}

// Only the user's own edits mark the field modified; TabSheet1Enter's
// setText clears the mark.
void ComparePage::Edit2Change() {
    const BusyCursor busy;
    compareFormula(Edit2->text(), Edit2->isModified());
}

void ComparePage::Edit2KeyPress() { Edit3->setFocus(); }

void ComparePage::Edit3KeyPress() { Edit4->setFocus(); }

void ComparePage::Edit4KeyPress() { Button3Click(); }

void ComparePage::Button3Click() {
    const BusyCursor busy;
    if (addObservedPeak(form_.compareState().observed, readNumber(latin1(Edit3->text())),
                        readNumber(latin1(Edit4->text()))) == PeakRefusal::none) {
        refreshPeakList();
        Edit3->clear();
        Edit4->clear();
        Vergleich_handle(Edit2->text());
    }
    Edit3->setFocus();
}

void ComparePage::refreshPeakList() {
    const ObservedPeaks& observed = form_.compareState().observed;
    ListBox2->clear();
    for (int i = 1; i <= observed.count(); ++i) {
        auto* line = new QListWidgetItem(fromLatin1(peakListLine(observed.observedPeaks[i])), ListBox2);
        line->setSizeHint(QSize(ListBox2->fontMetrics().horizontalAdvance(line->text()), peakLineHeight));
    }
}

// Without a selected line (possible after an Add, which rebuilds the list)
// the list stays as it is.
void ComparePage::Button4Click() {
    const BusyCursor busy;
    const QList<QListWidgetItem*> selected = ListBox2->selectedItems();
    const int line = selected.isEmpty() ? -1 : ListBox2->row(selected.first());
    if (deleteObservedPeak(form_.compareState().observed, line)) {
        delete ListBox2->takeItem(line);
        ListBox2->clearSelection();
        Vergleich_handle(Edit2->text());
    }
    // A disabled button cannot keep the focus; Qt would pass it on down the
    // tab order and out of the page, which would hide the plot.
    if (Button4->hasFocus()) ListBox2->setFocus();
    Button4->setEnabled(false);
}

void ComparePage::ListBox2Click() { Button4->setEnabled(true); }

// The focus goes to the mass field when it came by Tab or a key; a click
// leaves it where the user clicked, so typing goes where the cursor is.
void ComparePage::TabSheet1Enter() {
    form_.showPlotWindow();
    if (focusReason_ != Qt::MouseFocusReason) Edit3->setFocus();
    Edit2->setText(fromLatin1(form_.compareState().formula.formulaText));
}

// A candidate clicked on the Fragment page or a formula typed there changed
// formulaText; switching back by the page tab does not enter the page. A
// window restored from the task bar is no such switch.
void ComparePage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) Edit2->setText(fromLatin1(form_.compareState().formula.formulaText));
}

// The focus-in event comes before the focus change that PageFocus reports.
bool ComparePage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) focusReason_ = static_cast<QFocusEvent*>(event)->reason();
    return QWidget::eventFilter(watched, event);
}

void ComparePage::TabSheet1Exit() { form_.hidePlotWindow(); }
