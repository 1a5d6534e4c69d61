#include "fragment/candidate_model.h"

#include "chem/number_text.h"
#include "fragment/candidate_table.h"
#include "fragment/mass_mode.h"
#include "fragment/result_grid.h"
#include "ui/latin1_text.h"

using namespace isoquill;

namespace {

// Decimals shown; files and the clipboard get every digit.
constexpr int massDecimals = 5;
constexpr int ppmDecimals = 2;
constexpr int errorDecimals = 2;

}  // namespace

CandidateModel::CandidateModel(const ResultModel& results, QObject* parent)
    : QAbstractTableModel(parent), results_(results) {}

int CandidateModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shownRows().size());
}

int CandidateModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : candidateColumnCount; }

QVariant CandidateModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto column = static_cast<CandidateColumn>(index.column());
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment side = column == CandidateColumn::Formula ? Qt::AlignLeft : Qt::AlignRight;
        return QVariant::fromValue(side | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole) return {};
    const std::uint32_t row = shownRows()[static_cast<std::size_t>(index.row())];
    // The result grid's list is replaced before this view hears of it.
    if (row >= table().rows.size()) return {};
    const Candidate& candidate = table().rows[row];
    switch (column) {
    case CandidateColumn::Number: return QString::number(row + 1);
    case CandidateColumn::Mass: return fromLatin1(formatReal(loadReal48(candidate.mass), 0, massDecimals));
    case CandidateColumn::Deviation:
        return fromLatin1(formatReal(candidateDeviation(candidate, loadReal48(table().targetMass)), 0, massDecimals));
    case CandidateColumn::Ppm:
        return fromLatin1(formatReal(deviationPpm(candidate, table().targetMass), 0, ppmDecimals));
    case CandidateColumn::Error: return fromLatin1(formatReal(loadReal48(candidate.error), 0, errorDecimals));
    case CandidateColumn::Rdbe: {
        const std::optional<long double> value = rules_->rdbe(candidate);
        return value ? fromLatin1(exactNumberText(static_cast<double>(*value))) : QString();
    }
    case CandidateColumn::Formula: return fromLatin1(plainFormula(index.row()));
    }
    return {};
}

QVariant CandidateModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= candidateColumnCount) return {};
    if (role == Qt::InitialSortOrderRole) return Qt::AscendingOrder;
    if (role != Qt::DisplayRole) return {};
    return fromLatin1(candidateColumnHeads[static_cast<std::size_t>(section)]);
}

// The old order goes first, so two are never held at once.
void CandidateModel::follow() {
    beginResetModel();
    order_ = std::vector<std::uint32_t>();
    plausible_ = std::vector<std::uint32_t>();
    rules_.emplace(table());
    order_ = enumerationOrder(table());
    if (column_ != CandidateColumn::Number || descending_) rankRows(table(), order_, column_, descending_);
    refilter();
    endResetModel();
}

void CandidateModel::release() {
    beginResetModel();
    order_ = std::vector<std::uint32_t>();
    plausible_ = std::vector<std::uint32_t>();
    rules_.reset();
    endResetModel();
}

void CandidateModel::rank(CandidateColumn column, bool descending) {
    column_ = column;
    descending_ = descending;
    beginResetModel();
    plausible_ = std::vector<std::uint32_t>();  // made again below, and not held while the sort takes its room
    rankRows(table(), order_, column_, descending_);
    refilter();
    endResetModel();
}

void CandidateModel::setPlausibleOnly(bool on) {
    plausibleOnly_ = on;
    beginResetModel();
    refilter();
    endResetModel();
}

const ResultTable& CandidateModel::table() const { return results_.table(); }

std::span<const std::uint32_t> CandidateModel::shownRows() const { return plausibleOnly_ ? plausible_ : order_; }

std::string CandidateModel::plainFormula(int row) const {
    std::string text;
    const std::uint32_t tableRow = shownRows()[static_cast<std::size_t>(row)];
    if (tableRow < table().rows.size()) appendPlainFormula(text, table(), table().rows[tableRow]);
    return text;
}

void CandidateModel::refilter() {
    plausible_ = plausibleOnly_ ? plausibleRows(table(), order_) : std::vector<std::uint32_t>();
}
