// Isoquill: names the application, creates its windows and runs the event
// loop until the main window closes. No command line, no settings.
#include <QApplication>

#include "chem/extended_arithmetic.h"
#include "ui/error_box.h"
#include "ui/fonts.h"
#include "ui/program_windows.h"

int main(int argc, char* argv[]) {
    // Every comparison the windows run computes on this thread.
    const isoquill::ExtendedArithmetic arithmetic;
    QApplication application(argc, argv);
    // The name, not the display name: Qt would append a display name to every
    // window caption.
    QApplication::setApplicationName(QString::fromLatin1(isoquill::applicationTitle));
    isoquill::installFontSubstitutes();
    isoquill::ProgramWindows windows;
    windows.form1.show();
    return QApplication::exec();
}
