// What every GUI test needs: a fresh working directory as the program finds
// "PSE.DAT" in its current one, an error box that records instead of
// blocking, and the four windows created as main() creates them.
#pragma once

#include <QDir>
#include <QLineEdit>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

#include "ui/error_box.h"
#include "ui/program_windows.h"

namespace isoquill::testing {

// The shipped "PSE.DAT" whole, or cut to its first bytes, or none.
constexpr qint64 wholeElementFile = 1 << 30;
constexpr qint64 noElementFile = -1;

// Changes into a new temporary directory for its lifetime, with the
// element file's first `elementFileBytes` in it.
class WorkingDirectory {
public:
    explicit WorkingDirectory(qint64 elementFileBytes);
    ~WorkingDirectory();

private:
    QTemporaryDir directory_;
    QString previous_;
};

// Collects the texts the error box would show.
class ErrorRecorder {
public:
    ErrorRecorder();
    ~ErrorRecorder();
    QStringList texts;

private:
    ErrorPresenter previous_;
};

// The program as main() starts it, main window shown and active.
struct Program {
    explicit Program(qint64 elementFileBytes = wholeElementFile);

    WorkingDirectory directory;
    ErrorRecorder errors;
    std::unique_ptr<ProgramWindows> windows;

    template <class Widget>
    Widget* find(const char* name) const {
        return windows->form1.findChild<Widget*>(QLatin1String(name));
    }
};

// The objectName of the widget that has the keyboard focus, or "".
QString focusName();

// Types into a field as the user does: a click into it (a second one when
// entering a page moved the focus on), then the keys.
void typeInto(QLineEdit* field, const QString& text);
// Replaces the field's text by `text` as one paste from the clipboard.
void pasteInto(QLineEdit* field, const QString& text);
// A click on the main window's tab `index`.
void clickTab(const Program& program, int index);

// The texts of a grid's row, or of all its rows, as the user reads them.
template <class Grid>
QStringList gridRow(const Grid* grid, int row) {
    QStringList texts;
    for (int col = 0; col < grid->columnCount(); ++col) texts << grid->cell(col, row);
    return texts;
}
template <class Grid>
QList<QStringList> gridRows(const Grid* grid) {
    QList<QStringList> rows;
    for (int row = 0; row < grid->rowCount(); ++row) rows << gridRow(grid, row);
    return rows;
}

}  // namespace isoquill::testing
