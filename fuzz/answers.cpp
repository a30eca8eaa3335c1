// The answers file: its syntax check, then each answer applied to the
// settings window's controls as the unattended run applies them.
#include "FuzzInput.h"
#include "app/answers/AnswersFile.h"
#include "app/window/ControlCatalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaron::app;
    using namespace tessaron::app::answers;
    using namespace tessaron::app::window;
    try {
        const auto answers = parseAnswers(tessaron::fuzz::asText(data, size), "fuzz.answers");
        ControlModel controls(mainFormDesign());
        for (const auto& answer : answers) {
            // The run takes the "@options" lines out before it applies the
            // rest: they set no control.
            if (answer.control == kOptionsAnswer) continue;
            try {
                applyAnswer(controls, answer);
            } catch (const UsageError&) {
                // A value that is no entry of its (here empty) list.
            }
        }
    } catch (const UsageError&) {
        // Refused with its line: the expected answer to a damaged file.
    }
    return 0;
}
