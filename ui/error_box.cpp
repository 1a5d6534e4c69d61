#include "ui/error_box.h"

#include <QMessageBox>
#include <exception>

namespace isoquill {
namespace {

void showCriticalBox(const QString& text) {
    QMessageBox::critical(nullptr, QString::fromLatin1(applicationTitle), text);
}

ErrorPresenter& presenter() {
    static ErrorPresenter current = showCriticalBox;
    return current;
}

}  // namespace

ErrorPresenter setErrorPresenter(ErrorPresenter replacement) {
    ErrorPresenter previous = presenter();
    presenter() = replacement ? std::move(replacement) : ErrorPresenter(showCriticalBox);
    return previous;
}

void runGuarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const std::exception& error) {
        presenter()(QString::fromUtf8(error.what()) + QLatin1Char('.'));
    }
}

}  // namespace isoquill
