// What every GUI test needs: a fresh working directory as the program finds
// "PSE.DAT" in its current one, an error box that records instead of
// blocking, and the four windows created as main() creates them.
#pragma once

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

#include "ui/error_box.h"
#include "ui/program_windows.h"

namespace isoquill::testing {

enum class ElementFile { Shipped, Missing, Truncated };

// Changes into a new temporary directory for its lifetime.
class WorkingDirectory {
public:
    explicit WorkingDirectory(ElementFile file);
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
    explicit Program(ElementFile file = ElementFile::Shipped);

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

}  // namespace isoquill::testing
