#include "gui_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace isoquill::testing {

WorkingDirectory::WorkingDirectory(qint64 elementFileBytes) : previous_(QDir::currentPath()) {
    QFile shipped(QStringLiteral(ISOQUILL_ELEMENT_FILE));
    QFile copy(directory_.filePath(QStringLiteral("PSE.DAT")));
    if (elementFileBytes >= 0 && shipped.open(QIODevice::ReadOnly) && copy.open(QIODevice::WriteOnly))
        copy.write(shipped.read(elementFileBytes));
    QDir::setCurrent(directory_.path());
}

WorkingDirectory::~WorkingDirectory() { QDir::setCurrent(previous_); }

ErrorRecorder::ErrorRecorder()
    : previous_(setErrorPresenter([this](const QString& text) { texts << text; })) {}

ErrorRecorder::~ErrorRecorder() { setErrorPresenter(previous_); }

Program::Program(qint64 elementFileBytes) : directory(elementFileBytes), windows(std::make_unique<ProgramWindows>()) {
    windows->form1.show();
    QApplication::setActiveWindow(&windows->form1);
    if (!QTest::qWaitForWindowActive(&windows->form1)) qWarning("the main window did not become active");
}

QString focusName() {
    const QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
}

void typeInto(QLineEdit* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton);
    if (!field->hasFocus()) QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClicks(field, text);
}

void pasteInto(QLineEdit* field, const QString& text) {
    QApplication::clipboard()->setText(text);
    typeInto(field, QString());
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
}

void clickTab(const Program& program, int index) {
    QTabBar* tabs = program.find<QTabWidget>("PageControl1")->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

}  // namespace isoquill::testing
