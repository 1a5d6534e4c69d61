// The candidates window "Kandidaten": the last Generate's candidates, ranked
// by a click on a column head, optionally only the plausible ones, saved to a
// file or copied. Opened from the result grid's context menu; a row clicked
// or reached by the arrow keys goes to the comparison as a result row does.
#pragma once

#include <QWidget>

#include <cstdint>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class CandidateModel;
class ProgramContext;
class ResultGrid;

class CandidatesWindow : public QWidget {
    Q_OBJECT
public:
    // Hidden until opened; adds "&Kandidaten…" to `resultGrid`'s context menu.
    CandidatesWindow(ProgramContext& form, ResultGrid& resultGrid, QWidget* parent = nullptr);

    // Shows the window, or brings it to the front when it is open. From then
    // on it follows every Generate, until it is closed.
    void showInFront();

    // Writes the shown rows to `path` whole or not at all; comma-separated
    // for ".csv", tab-separated otherwise. Raises SaveError.
    void saveTo(const QString& path) const;

    // What Ctrl+C copies: the selected rows in the order shown, all shown
    // rows when none is selected; tab-separated with the header.
    QString copyText() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void resultsChanged();
    void sortIndicatorChanged(int section, Qt::SortOrder order);
    void plausibleToggled(bool on);
    void actOnRow(int row);
    void saveClicked();
    void showCount();
    std::vector<std::uint32_t> selectedTableRows() const;

    ProgramContext& form_;
    CandidateModel* model_;
    bool following_ = false;  // open: the rows follow the result list

    QCheckBox* plausibleOnly_;
    QLabel* count_;
    QPushButton* save_;
    QTableView* table_;
};
