#include "compare/peak_list_file_commands.h"

#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QMimeData>
#include <QUrl>

#include "compare/peak_list_file.h"
#include "ui/error_box.h"
#include "ui/widget_commands.h"

namespace isoquill {
namespace {

using Take = std::function<void(const std::string& text)>;

QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) return {};
        files << url.toLocalFile();
    }
    return files;
}

void takeFile(const QString& name, const Take& take) {
    take(readPeakListFile(QFile::encodeName(name).toStdString()));
}

// On the list's viewport, where a scroll area gets its drag events.
class PeakFileDrop : public QObject {
public:
    PeakFileDrop(QObject* parent, Take take) : QObject(parent), take_(std::move(take)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove: {
                auto* drag = static_cast<QDropEvent*>(event);
                if (localFiles(drag->mimeData()).isEmpty()) drag->ignore();
                else drag->acceptProposedAction();
                return true;
            }
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                const QStringList files = localFiles(drop->mimeData());
                if (files.isEmpty()) return true;
                drop->acceptProposedAction();
                for (const QString& file : files) runGuarded([&] { takeFile(file, take_); });
                return true;
            }
            default:
                return QObject::eventFilter(watched, event);
        }
    }

private:
    Take take_;
};

}  // namespace

void installPeakListFileCommands(QListWidget* list, Take take) {
    list->setAcceptDrops(true);
    list->viewport()->setAcceptDrops(true);
    list->viewport()->installEventFilter(new PeakFileDrop(list, take));
    addContextMenuEntry(list, QStringLiteral("Peakliste ö&ffnen…"), [list, take] {
        const QString name = QFileDialog::getOpenFileName(
            list->window(), QStringLiteral("Peakliste öffnen"), QString(),
            QStringLiteral("Peaklisten (*.txt *.csv *.tsv *.xy *.asc);;Alle Dateien (*)"));
        if (!name.isEmpty()) takeFile(name, take);
    });
}

}  // namespace isoquill
