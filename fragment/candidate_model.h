// The candidates window's table: a view over the result list that the result
// grid's model holds. It keeps only an order of row indices (4 bytes a row)
// and, while the filter is on, the plausible part of it (4 more).
#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "fragment/ranking.h"

class ResultModel;

class CandidateModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CandidateModel(const ResultModel& results, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The rows of the result list as it is now, ranked and filtered as set.
    void follow();
    // No rows, nothing held; the ranking and filter stay set.
    void release();

    void rank(isoquill::CandidateColumn column, bool descending);
    void setPlausibleOnly(bool on);

    const isoquill::ResultTable& table() const;
    // The result list's rows in the order shown, as indices into table().rows.
    std::span<const std::uint32_t> shownRows() const;
    std::size_t candidateCount() const { return order_.size(); }
    // The plain formula (C6H12O6) of a shown row.
    std::string plainFormula(int row) const;

private:
    void refilter();

    const ResultModel& results_;
    std::optional<isoquill::CandidateRules> rules_;
    std::vector<std::uint32_t> order_;      // every row, ranked
    std::vector<std::uint32_t> plausible_;  // the plausible rows of order_, while the filter is on
    isoquill::CandidateColumn column_ = isoquill::CandidateColumn::Number;
    bool descending_ = false;
    bool plausibleOnly_ = false;
};
