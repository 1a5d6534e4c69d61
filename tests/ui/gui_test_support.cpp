#include "gui_test_support.h"

#include <QFile>

namespace isoquill::testing {

WorkingDirectory::WorkingDirectory(qint64 elementFileBytes) {
    QFile shipped(QStringLiteral(ISOQUILL_ELEMENT_FILE));
    QFile copy(directory_.filePath(QStringLiteral("PSE.DAT")));
    if (elementFileBytes >= 0 && shipped.open(QIODevice::ReadOnly) && copy.open(QIODevice::WriteOnly))
        copy.write(shipped.read(elementFileBytes));
    QDir::setCurrent(directory_.path());
}

Program::Program(qint64 elementFileBytes) : directory(elementFileBytes), windows(std::make_unique<ProgramWindows>()) {
    windows->form1.show();
    QApplication::setActiveWindow(&windows->form1);
    if (!QTest::qWaitForWindowActive(&windows->form1)) qWarning("the main window did not become active");
}

void Program::clickTab(int index) const {
    QTabBar* tabs = find<QTabWidget>("PageControl1")->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

void Program::addPeak(const QString& mass, const QString& abundance) const {
    typeInto(Edit3, mass);
    typeInto(Edit4, abundance);
    QTest::mouseClick(Button3, Qt::LeftButton);
}

QString focusName() {
    const QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
}

void typeInto(QLineEdit* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton);
    if (!field->hasFocus()) QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    QTest::keyClicks(field, text);
}

void pasteInto(QLineEdit* field, const QString& text) {
    QApplication::clipboard()->setText(text);
    typeInto(field, QString());
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
}

QString copied(QWidget* widget) {
    QApplication::clipboard()->clear();
    QTest::keyClick(widget, Qt::Key_C, Qt::ControlModifier);
    return QApplication::clipboard()->text();
}

}  // namespace isoquill::testing
