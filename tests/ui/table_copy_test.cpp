// The table copy any grid can install: what a view's Ctrl+C puts on the
// clipboard, cells whole however narrow their column, trailing blank rows
// left out.
#include <QStandardItemModel>
#include <QTableView>

#include "ui/table_copy.h"
#include "gui_test_support.h"

using namespace isoquill;
using namespace isoquill::testing;

class TableCopyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ctrlCCopiesEveryRowWithWholeCells() {
        QStandardItemModel model(3, 2);
        model.setItem(0, 0, new QStandardItem(QStringLiteral("C254H377N65O75S6")));
        model.setItem(0, 1, new QStandardItem(QStringLiteral("  5729.6")));
        model.setItem(1, 0, new QStandardItem(QStringLiteral("H2O")));
        QTableView view;
        view.setModel(&model);
        view.setColumnWidth(0, 4);
        view.resize(40, 30);  // most rows off screen
        installTableCopy(&view);
        QCOMPARE(copied(&view), QStringLiteral("C254H377N65O75S6\t5729.6\nH2O\t\n"));
    }
};

QTEST_MAIN(TableCopyTest)
#include "table_copy_test.moc"
