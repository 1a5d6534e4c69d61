#include "gui_test_support.h"

#include <QApplication>
#include <QFile>
#include <QTest>

namespace isoquill::testing {

WorkingDirectory::WorkingDirectory(ElementFile file) : previous_(QDir::currentPath()) {
    const QString target = directory_.filePath(QStringLiteral("PSE.DAT"));
    if (file == ElementFile::Shipped) {
        QFile::copy(QStringLiteral(ISOQUILL_ELEMENT_FILE), target);
    } else if (file == ElementFile::Truncated) {
        QFile shipped(QStringLiteral(ISOQUILL_ELEMENT_FILE));
        QFile shortCopy(target);
        if (shipped.open(QIODevice::ReadOnly) && shortCopy.open(QIODevice::WriteOnly))
            shortCopy.write(shipped.read(172 * 50));
    }
    QDir::setCurrent(directory_.path());
}

WorkingDirectory::~WorkingDirectory() { QDir::setCurrent(previous_); }

ErrorRecorder::ErrorRecorder()
    : previous_(setErrorPresenter([this](const QString& text) { texts << text; })) {}

ErrorRecorder::~ErrorRecorder() { setErrorPresenter(previous_); }

Program::Program(ElementFile file) : directory(file), windows(std::make_unique<ProgramWindows>()) {
    windows->form1.show();
    QApplication::setActiveWindow(&windows->form1);
    if (!QTest::qWaitForWindowActive(&windows->form1)) qWarning("the main window did not become active");
}

QString focusName() {
    const QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
}

}  // namespace isoquill::testing
