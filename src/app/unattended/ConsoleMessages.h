#pragma once

#include <ostream>

#include "app/window/MessageService.h"

namespace tessaron::app::unattended {

// Message boxes without a window: each prints "TITLE: TEXT" on a line of
// its own to the given stream; the one question (YesNo) gets the answer
// chosen beforehand.
class ConsoleMessages : public app::window::MessageService {
public:
    ConsoleMessages(std::ostream& err, bool answerYes) : err_(err), answerYes_(answerYes) {}

    app::window::MessageAnswer show(const app::window::Message& message) override {
        err_ << message.title << ": " << message.text << '\n' << std::flush;
        if (message.buttons == app::window::MessageButtons::YesNo) {
            declined_ = !answerYes_;
            return answerYes_ ? app::window::MessageAnswer::Yes : app::window::MessageAnswer::No;
        }
        return app::window::MessageAnswer::Ok;
    }
    // The question (is the machine to be configured again?) was answered No.
    bool declined() const { return declined_; }

private:
    std::ostream& err_;
    bool answerYes_;
    bool declined_ = false;
};

}  // namespace tessaron::app::unattended
