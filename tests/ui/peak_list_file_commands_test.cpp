// Peak list files on the Compare page: dropped on the list or opened from its
// context menu, they go in by the paste rules with one comparison; a file that
// cannot be taken gives the error box and leaves the list as it was.
#include "gui_test_support.h"

namespace isoquill::testing {

namespace {

QStringList lines(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}

QString writeFile(const QString& name, const QByteArray& content) {
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(content) >= 0 ? QFileInfo(file).absoluteFilePath() : QString();
}

// Dragged over the list and dropped; whether the list took the drag.
bool drop(QListWidget* list, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(list->viewport(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent dropped(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(list->viewport(), &dropped);
    return true;
}

}  // namespace

class PeakListFileCommandsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Case by case: the file dropped, the error box's texts, the list after it.
    // Then the same file through the context menu's file dialog.
    void droppedAndOpenedFilesGoInByThePasteRules() {
        Program page;
        typeInto(page.Edit2, QStringLiteral("Br2"));
        // A byte order mark, a header, a decimal comma, a refused line, Windows line ends.
        const QString good =
            writeFile("bromine.txt", "\xEF\xBB\xBFMass\tIntensity\r\n158\t51,4\r\nBr2 peak\r\n160;100\r\n");
        const QStringList bromine = {"    158    51.40000", "    160   100.00000"};
        QFile::copy(QStringLiteral(ISOQUILL_ELEMENT_FILE), QStringLiteral("binary.dat"));
        const QString binary = QFileInfo("binary.dat").absoluteFilePath();
        const QString large = writeFile("large.txt", QByteArray(4 * 1024 * 1024 + 1, '1'));
        const QString missing = QDir::current().absoluteFilePath("missing.txt");
        QDir::current().mkdir("folder.txt");
        const QString folder = QFileInfo("folder.txt").absoluteFilePath();
        const struct {
            QString file;
            QStringList errors, list;
        } cases[] = {
            {good, {"Zeile 3 nicht übernommen: keine Zahl."}, bromine},
            {binary, {binary + ": keine Textdatei."}, bromine},
            {large, {large + ": Datei zu groß (mehr als 4 MB)."}, bromine},
            {missing, {missing + ": Datei nicht gefunden."}, bromine},
            {folder, {folder + ": Dateizugriff verweigert."}, bromine},
        };
        for (const auto& c : cases) {
            page.errors.clear();
            QVERIFY2(drop(page.ListBox2, {QUrl::fromLocalFile(c.file)}), qPrintable(c.file));
            QCOMPARE(page.errors, c.errors);
            QCOMPARE(lines(page.ListBox2), c.list);
        }
        QCOMPARE(gridLines(page.StringGrid4, 1, 1), QStringList{" 1| 158.0| 51.4| 157.8| 51.4|   0.00"});
        QVERIFY(!drop(page.ListBox2, {QUrl(QStringLiteral("https://example.org/peaks.txt"))}));
        QVERIFY(!drop(page.ListBox2, {QUrl::fromLocalFile(good), QUrl(QStringLiteral("https://example.org/x"))}));

        const QList<QAction*> menu = page.ListBox2->actions();
        QCOMPARE(menu.last()->text(), QStringLiteral("Peakliste ö&ffnen…"));
        page.errors.clear();
        QString caption;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            caption = dialog->windowTitle();
            dialog->selectFile(good);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        menu.last()->trigger();
        QCOMPARE(caption, QStringLiteral("Peakliste öffnen"));
        QCOMPARE(lines(page.ListBox2), (QStringList{bromine[0], bromine[0], bromine[1], bromine[1]}));
        QCOMPARE(page.errors, QStringList{"Zeile 3 nicht übernommen: keine Zahl."});
    }
};

}  // namespace isoquill::testing

QTEST_MAIN(isoquill::testing::PeakListFileCommandsTest)
#include "peak_list_file_commands_test.moc"
