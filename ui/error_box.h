// The error box: an error raised inside an event handler (or while the main
// window is created) abandons that handler and is shown as a critical message
// box, captioned with the application title, reading the error's message and
// a full stop. The program then goes on with the next event.
#pragma once

#include <QString>
#include <functional>

namespace isoquill {

// The application title: the error box caption and the task bar name.
inline constexpr char applicationTitle[] = "Massaro";

// Shows the box's text (message already followed by the full stop).
using ErrorPresenter = std::function<void(const QString& text)>;

// Replaces how the box is shown (tests record the text instead of blocking on
// a modal box) and returns the presenter in use before. An empty presenter
// restores the modal critical box.
ErrorPresenter setErrorPresenter(ErrorPresenter presenter);

// Runs `body`; a std::exception escaping it is shown in the error box.
void runGuarded(const std::function<void()>& body);

// A slot that runs `handler` of `object` guarded, for connect().
template <class Object>
auto guarded(Object* object, void (Object::*handler)()) {
    return [object, handler] { runGuarded([object, handler] { (object->*handler)(); }); };
}

}  // namespace isoquill
