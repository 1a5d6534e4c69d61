#include "fragment/candidates_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <functional>

#include "fragment/candidate_model.h"
#include "fragment/candidate_table.h"
#include "fragment/result_grid.h"
#include "ui/busy_cursor.h"
#include "ui/error_box.h"
#include "ui/fonts.h"
#include "ui/latin1_text.h"
#include "ui/program_context.h"
#include "ui/widget_commands.h"

using namespace isoquill;

namespace {

constexpr int rowHeight = 20;
constexpr int columnWidths[] = {60, 85, 80, 60, 70, 45};  // the formula takes the rest
const QString tsvFilter = QStringLiteral("Tabulatorgetrennt (*.tsv *.txt)");
const QString csvFilter = QStringLiteral("Kommagetrennt (*.csv)");

// Acts on the row a left press lands on and on the row the keys move to.
class CandidateView : public QTableView {
public:
    CandidateView(std::function<void(int)> act, QWidget* parent) : QTableView(parent), act_(std::move(act)) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        QTableView::mousePressEvent(event);
        const QModelIndex pressed = indexAt(event->position().toPoint());
        if (event->button() == Qt::LeftButton && pressed.isValid()) act_(pressed.row());
    }
    void keyPressEvent(QKeyEvent* event) override {
        const int before = currentIndex().row();
        QTableView::keyPressEvent(event);
        if (currentIndex().isValid() && currentIndex().row() != before) act_(currentIndex().row());
    }

private:
    std::function<void(int)> act_;
};

QString rulesToolTip() {
    QString text = QStringLiteral("Blendet Formeln aus, die eine dieser Regeln verletzen;\n"
                                  "jede gilt nur, wo sie berechnet werden kann:");
    for (const std::string& line : plausibilityRuleLines())
        text += QStringLiteral("\n\u2022 ") + QString::fromStdString(line);
    return text;
}

}  // namespace

CandidatesWindow::CandidatesWindow(ProgramContext& form, ResultGrid& resultGrid, QWidget* parent)
    : QWidget(parent, Qt::Window), form_(form) {
    setObjectName(QStringLiteral("CandidatesWindow"));
    setWindowTitle(QStringLiteral("Kandidaten"));
    setAttribute(Qt::WA_QuitOnClose, false);
    const auto& results = dynamic_cast<const ResultModel&>(*resultGrid.model());
    model_ = new CandidateModel(results, this);

    plausibleOnly_ = new QCheckBox(QStringLiteral("nur &plausible Formeln"), this);
    plausibleOnly_->setObjectName(QStringLiteral("PlausibleOnly"));
    plausibleOnly_->setToolTip(rulesToolTip());
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("CandidateCount"));
    save_ = new QPushButton(QStringLiteral("&Speichern\u2026"), this);
    save_->setObjectName(QStringLiteral("SaveCandidates"));

    table_ = new CandidateView([this](int row) { runGuarded([this, row] { actOnRow(row); }); }, this);
    table_->setObjectName(QStringLiteral("CandidateTable"));
    table_->setModel(model_);
    table_->setFont(courierNew(12));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(rowHeight);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(0, Qt::AscendingOrder);
    header->setStretchLastSection(true);
    for (int col = 0; col < int(std::size(columnWidths)); ++col) table_->setColumnWidth(col, columnWidths[col]);

    auto* controls = new QHBoxLayout;
    controls->addWidget(plausibleOnly_);
    controls->addStretch();
    controls->addWidget(count_);
    controls->addSpacing(12);
    controls->addWidget(save_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(table_);
    // Beside the plot window, which a click on a row brings to the front.
    setGeometry(768, 237, 500, 467);

    connect(header, &QHeaderView::sortIndicatorChanged, this, [this](int section, Qt::SortOrder order) {
        runGuarded([&] { sortIndicatorChanged(section, order); });
    });
    connect(plausibleOnly_, &QCheckBox::toggled, this, [this](bool on) { runGuarded([&] { plausibleToggled(on); }); });
    connect(save_, &QPushButton::clicked, this, guarded(this, &CandidatesWindow::saveClicked));
    connect(&results, &QAbstractItemModel::dataChanged, this, guarded(this, &CandidatesWindow::resultsChanged));
    onStandardKey(table_, QKeySequence::Copy, [this] {
        QApplication::clipboard()->setText(copyText());
        return true;
    });
    addContextMenuEntry(&resultGrid, QStringLiteral("&Kandidaten\u2026"), [this] { showInFront(); });
    showCount();
}

void CandidatesWindow::showInFront() {
    if (!following_) {
        const BusyCursor busy;
        model_->follow();
        following_ = true;
        showCount();
    }
    show();
    raise();
    activateWindow();
}

void CandidatesWindow::saveTo(const QString& path) const {
    const std::filesystem::path file(QFile::encodeName(path).toStdString());
    saveCandidateTable(file, model_->table(), model_->shownRows(), separatorFor(file));
}

QString CandidatesWindow::copyText() const {
    return fromLatin1(candidateTableText(model_->table(), selectedTableRows(), '\t'));
}

void CandidatesWindow::closeEvent(QCloseEvent* event) {
    following_ = false;
    model_->release();
    showCount();
    QWidget::closeEvent(event);
}

void CandidatesWindow::resultsChanged() {
    if (!following_) return;
    const BusyCursor busy;
    model_->follow();
    showCount();
}

void CandidatesWindow::sortIndicatorChanged(int section, Qt::SortOrder order) {
    const BusyCursor busy;
    model_->rank(static_cast<CandidateColumn>(section), order == Qt::DescendingOrder);
}

void CandidatesWindow::plausibleToggled(bool on) {
    const BusyCursor busy;
    model_->setPlausibleOnly(on);
    showCount();
}

// As a click on a result row: the plot shows, the comparison runs on the formula.
void CandidatesWindow::actOnRow(int row) {
    const BusyCursor busy;
    const QString formula = fromLatin1(model_->plainFormula(row));
    form_.showPlotWindow();
    form_.Vergleich_handle(formula);
}

// A name typed without extension gets the one of the chosen file type.
void CandidatesWindow::saveClicked() {
    QFileDialog dialog(this, QStringLiteral("Kandidaten speichern"));
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters({tsvFilter, csvFilter});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    QString path = dialog.selectedFiles().constFirst();
    if (QFileInfo(path).suffix().isEmpty()) path += dialog.selectedNameFilter() == csvFilter ? ".csv" : ".tsv";
    const BusyCursor busy;
    saveTo(path);
}

void CandidatesWindow::showCount() {
    count_->setText(QStringLiteral("%1 von %2").arg(model_->shownRows().size()).arg(model_->candidateCount()));
}

std::vector<std::uint32_t> CandidatesWindow::selectedTableRows() const {
    const std::span<const std::uint32_t> shown = model_->shownRows();
    const QItemSelection selection = table_->selectionModel()->selection();
    if (selection.isEmpty()) return {shown.begin(), shown.end()};
    std::vector<bool> selected(shown.size());
    for (const QItemSelectionRange& range : selection)
        for (int row = range.top(); row <= range.bottom(); ++row) selected[static_cast<std::size_t>(row)] = true;
    std::vector<std::uint32_t> rows;
    for (std::size_t row = 0; row < shown.size(); ++row)
        if (selected[row]) rows.push_back(shown[row]);
    return rows;
}
