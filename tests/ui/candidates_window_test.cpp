// The candidates window driven as a chemist drives it: Generate on the
// Fragment page, the window opened from the result grid's context menu, its
// column heads clicked, the filter ticked, rows clicked and walked with the
// arrow keys, the table copied and saved; checked by the cells, the label,
// the comparison that runs and the bytes written. The ranking and the rules
// themselves are tested in the core.
#include "fragment/candidates_window.h"
#include "fragment/ranking.h"
#include "gui_test_support.h"

namespace isoquill::testing {

struct CandidatesProgram : Program {
    CandidatesWindow& window = windows->candidates;
    QTableView* table = window.findChild<QTableView*>("CandidateTable");
    QCheckBox* plausibleOnly = window.findChild<QCheckBox*>("PlausibleOnly");
    QLabel* count = window.findChild<QLabel*>("CandidateCount");

    // Observed glucose peaks, then CHNO with the counts `ranges` (by default
    // C 0..12, H 0..30, N 0..4, O 0..8) around the observed mean mass within
    // `tolerance`.
    void generate(const QString& tolerance, const QStringList& ranges = {"0\t12", "0\t30", "0\t4", "0\t8"}) const {
        if (ListBox2->count() == 0) {
            clickTab(0);
            for (const auto& [mass, abundance] : {std::pair{"180", "100"}, {"181", "6.6"}, {"182", "1.2"}})
                addPeak(mass, abundance);
        }
        clickTab(1);
        typeInto(Edit11, QStringLiteral("CHNO"));
        for (int row = 1; row <= 4; ++row) {
            clickCell(StringGrid1, 1, row);
            for (QChar key : ranges[row - 1]) QTest::keyClick(windows->form1.focusWidget(), key.toLatin1());
        }
        typeInto(Edit13, tolerance);
        QTest::mouseClick(Button5, Qt::LeftButton);
    }
    static void clickCell(QTableView* grid, int col, int row) {
        const QPoint centre = grid->visualRect(grid->model()->index(row, col)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
    }
    void clickHead(CandidateColumn column) const {
        QHeaderView* header = table->horizontalHeader();
        const int x = header->sectionViewportPosition(int(column)) + header->sectionSize(int(column)) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    }
    QString cell(int row, CandidateColumn column) const {
        return table->model()->index(row, static_cast<int>(column)).data().toString();
    }
    const ResultTable& results() const { return dynamic_cast<const ResultModel&>(*StringGrid2->model()).table(); }
};

// The row of the smallest or largest value, the first one of a tie.
template <class Value>
int firstRowOf(std::size_t rows, Value value, bool largest) {
    std::size_t best = 0;
    for (std::size_t r = 1; r < rows; ++r)
        if (largest ? value(r) > value(best) : value(r) < value(best)) best = r;
    return static_cast<int>(best);
}

class CandidatesWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Hidden until "&Kandidaten…" of the result grid's menu (after "Copy
    // table") opens it with the grid's candidates in enumeration order.
    // Heads: Error up, Error down, Formula, "#" back to enumeration order,
    // each with the first row a plain search over the result list expects
    // (every column's order is checked in the core). The filter shows as many rows as a loop over
    // the rules counts. A click on a row and the Down key run the comparison
    // on that row's formula, as a click on a result row does. Ctrl+C copies
    // the selected rows in the order shown, every row when all are selected;
    // "Speichern…" with a name typed into its dialog writes the same bytes,
    // with commas for ".csv". A Generate the candidate cap refuses empties
    // the window, a later one fills it again; closed, the window holds no
    // rows until it is opened again.
    void opensRanksFiltersComparesCopiesSavesAndFollowsGenerate() {
        CandidatesProgram program;
        QVERIFY(!program.window.isVisible());
        program.generate(QStringLiteral("0.5"));
        const ResultTable& results = program.results();
        const std::size_t total = results.rows.size();
        QVERIFY2(total > 20, qPrintable(QString::number(total)));
        QCOMPARE(program.count->text(), QStringLiteral("0 von 0"));
        const QList<QAction*> entries = program.StringGrid2->actions();
        QCOMPARE(QStringList({entries.value(0)->text(), entries.value(1)->text()}),
                 (QStringList{"Copy table", "&Kandidaten\u2026"}));
        entries[1]->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(&program.window));
        QCOMPARE(program.window.windowTitle(), QStringLiteral("Kandidaten"));
        QCOMPARE(program.count->text(), QStringLiteral("%1 von %1").arg(total));
        const auto error = [&](std::size_t r) { return loadReal48(results.rows[r].error); };
        const auto formula = [&](std::size_t r) { return program.StringGrid2->cell(3, int(r)).remove(' '); };
        for (std::size_t r = 0; r < total; ++r)
            QCOMPARE(program.cell(int(r), CandidateColumn::Number) + program.cell(int(r), CandidateColumn::Formula),
                     QString::number(r + 1) + formula(r));
        const std::pair<CandidateColumn, int> heads[] = {
            {CandidateColumn::Error, firstRowOf(total, error, false)},
            {CandidateColumn::Error, firstRowOf(total, error, true)},
            {CandidateColumn::Formula, firstRowOf(total, formula, false)},
            {CandidateColumn::Number, 0}};
        QStringList firstRows, expected;
        for (const auto& [column, first] : heads) {
            program.clickHead(column);
            firstRows << program.cell(0, CandidateColumn::Number);
            expected << QString::number(first + 1);
        }
        QCOMPARE(firstRows, expected);

        const std::size_t plausible = plausibleRows(results, enumerationOrder(results)).size();
        QVERIFY(plausible > 0 && plausible < total);
        QTest::mouseClick(program.plausibleOnly, Qt::LeftButton);
        QCOMPARE(program.count->text(), QStringLiteral("%1 von %2").arg(plausible).arg(total));
        QTest::mouseClick(program.plausibleOnly, Qt::LeftButton);
        QCOMPARE(program.count->text(), QStringLiteral("%1 von %1").arg(total));

        program.clickHead(CandidateColumn::Error);
        program.windows->form12.close();
        CandidatesProgram::clickCell(program.table, 2, 0);
        QStringList compared{program.state.formula.formulaText.c_str()};
        QVERIFY(program.windows->form12.isVisible());
        QTest::keyClick(program.table, Qt::Key_Down);
        compared << program.state.formula.formulaText.c_str();
        QCOMPARE(compared, QStringList({program.cell(0, CandidateColumn::Formula),
                                        program.cell(1, CandidateColumn::Formula)}));
        QCOMPARE(program.errors, QStringList());

        program.clickHead(CandidateColumn::Formula);
        CandidatesProgram::clickCell(program.table, 0, 1);
        QTest::mouseClick(program.table->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          program.table->visualRect(program.table->model()->index(3, 0)).center());
        const QStringList lines = copied(program.table).split('\n');
        QCOMPARE(lines.size(), 5);  // header, three rows, the empty end
        QCOMPARE(lines[0], QStringLiteral("#\tMass\tDeviation\tppm\tError\tRDBE\tFormula"));
        QCOMPARE(QStringList({lines[1].section('\t', 6), lines[3].section('\t', 6)}),
                 QStringList({program.cell(1, CandidateColumn::Formula), program.cell(3, CandidateColumn::Formula)}));
        QCOMPARE(lines[2].section('\t', 0, 0), program.cell(2, CandidateColumn::Number));

        QTest::keyClick(program.table, Qt::Key_A, Qt::ControlModifier);
        const QString all = copied(program.table);
        QCOMPARE(all.count('\n'), int(program.results().rows.size()) + 1);
        QTemporaryDir folder;
        QTimer typeName;
        QObject::connect(&typeName, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            typeName.stop();
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            name->setText(folder.filePath("kandidaten.csv"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        typeName.start(20);
        QTest::mouseClick(program.window.findChild<QPushButton*>("SaveCandidates"), Qt::LeftButton);
        QFile saved(folder.filePath("kandidaten.csv"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLatin1(saved.readAll()), QString(all).replace('\t', ','));

        program.generate(QStringLiteral("1000"), QStringList(4, "0\t200"));
        QCOMPARE(program.errors, QStringList{QString::fromUtf8(TooManyCandidatesError().what()) + '.'});
        QCOMPARE(program.count->text(), QStringLiteral("0 von 0"));
        program.generate(QStringLiteral("0.5"));
        QCOMPARE(program.table->model()->rowCount(), int(program.results().rows.size()));
        program.window.close();
        QVERIFY(!program.window.isVisible());
        QCOMPARE(program.count->text(), QStringLiteral("0 von 0"));
        program.window.showInFront();
        QCOMPARE(program.table->model()->rowCount(), int(program.results().rows.size()));
    }
};

}  // namespace isoquill::testing

QTEST_MAIN(isoquill::testing::CandidatesWindowTest)
#include "candidates_window_test.moc"
