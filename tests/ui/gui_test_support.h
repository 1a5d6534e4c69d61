// What every GUI test needs: the program started as main() starts it, in a
// fresh working directory (it finds "PSE.DAT" in its current one), with an
// error box that records instead of blocking; its pages' controls by name;
// and the user's actions on them.
#pragma once

#include <QtTest>
#include <QtWidgets>

#include <memory>

#include "fragment/result_grid.h"
#include "ui/error_box.h"
#include "ui/program_windows.h"
#include "ui/string_grid.h"

namespace isoquill::testing {

inline QString focusName() {  // of the widget that has the keyboard focus, or ""
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// A key pressed where the focus is; then the name of the focus, as above.
inline QString press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    return focusName();
}

// Replaces the field's text as the user types it: a click into it (a second
// one when entering a page moved the focus on), all selected, the keys.
inline void typeInto(QLineEdit* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton);
    if (!field->hasFocus()) QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    QTest::keyClicks(field, text);
}

// What Ctrl+C on `widget` puts on the clipboard.
inline QString copied(QWidget* widget) {
    QApplication::clipboard()->clear();
    QTest::keyClick(widget, Qt::Key_C, Qt::ControlModifier);
    return QApplication::clipboard()->text();
}

// `count` rows of a grid from `from` on (all rows when negative), as the user
// reads them: each row's cell texts joined by "|".
template <class Grid>
QStringList gridLines(const Grid* grid, int from = 0, int count = -1) {
    QStringList lines;
    for (int row = from; row < (count < 0 ? grid->rowCount() : from + count); ++row) {
        lines << QString();
        for (int col = 0; col < grid->columnCount(); ++col) lines.last() += (col ? "|" : "") + grid->cell(col, row);
    }
    return lines;
}

// The program as main() starts it, in a new temporary working directory with
// the element file's first `elementFileBytes` (none when negative), main
// window shown and active.
struct Program {
    explicit Program(qint64 elementFileBytes = 1 << 30) : windows(start(elementFileBytes)) {
        windows->form1.show();
        QApplication::setActiveWindow(&windows->form1);
        if (!QTest::qWaitForWindowActive(&windows->form1)) qWarning("the main window did not become active");
    }
    ~Program() { setErrorPresenter(previousPresenter); }

    std::unique_ptr<ProgramWindows> start(qint64 elementFileBytes) const {
        QDir::setCurrent(directory.path());
        QFile shipped(QStringLiteral(ISOQUILL_ELEMENT_FILE)), copy(QStringLiteral("PSE.DAT"));
        if (elementFileBytes >= 0 && shipped.open(QIODevice::ReadOnly) && copy.open(QIODevice::WriteOnly))
            copy.write(shipped.read(elementFileBytes));
        copy.close();
        return std::make_unique<ProgramWindows>();
    }
    template <class Widget>
    Widget* find(const char* name) const {
        return windows->form1.findChild<Widget*>(QLatin1String(name));
    }
    void clickTab(int index) const {
        QTabBar* tabs = find<QTabWidget>("PageControl1")->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }
    // Typed into the Compare page's mass and abundance fields, then Add.
    void addPeak(const QString& mass, const QString& abundance) const {
        typeInto(Edit3, mass);
        typeInto(Edit4, abundance);
        QTest::mouseClick(find<QPushButton>("Button3"), Qt::LeftButton);
    }

    QTemporaryDir directory;
    QStringList errors;  // the texts the error box would show
    ErrorPresenter previousPresenter = setErrorPresenter([this](const QString& text) { errors << text; });
    std::unique_ptr<ProgramWindows> windows;
    CompareState& state = windows->form1.compareState();
    QLineEdit* Edit2 = find<QLineEdit>("Edit2");  // the Compare page
    QLineEdit* Edit3 = find<QLineEdit>("Edit3");
    QLineEdit* Edit4 = find<QLineEdit>("Edit4");
    QPushButton* Button4 = find<QPushButton>("Button4");
    QListWidget* ListBox2 = find<QListWidget>("ListBox2");
    StringGrid* StringGrid4 = find<StringGrid>("StringGrid4");
    QLineEdit* Edit11 = find<QLineEdit>("Edit11");  // the Fragment page
    QLineEdit* Edit12 = find<QLineEdit>("Edit12");
    QLineEdit* Edit13 = find<QLineEdit>("Edit13");
    QPushButton* Button5 = find<QPushButton>("Button5");
    StringGrid* StringGrid1 = find<StringGrid>("StringGrid1");
    ResultGrid* StringGrid2 = find<ResultGrid>("StringGrid2");
};

}  // namespace isoquill::testing
