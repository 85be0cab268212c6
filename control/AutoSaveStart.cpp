#include "control/AutoSaveStart.h"

#include "core/Prompter.h"
#include "core/RecException.h"
#include "core/SaveTarget.h"

namespace sorvella {

namespace {

constexpr const char* kAutoSavingCaption = "Sorvella Studio Auto-Saving...";

} // namespace

bool startAutoSave(Prompter& prompter, bool giveUp,
                   const std::function<void(SaveTarget& target)>& start)
{
    for (;;) {
        SaveTarget target;
        try {
            start(target);
            return true;
        } catch (const RecException& error) {
            const std::string text =
                "Error Saving File " + target.fileName + ": " + error.message();
            if (error.kind() != RecException::OpenFailure) {
                prompter.tell(text);
                return false;
            }
            if (prompter.ask(text, kAutoSavingCaption, Prompter::Buttons::RetryCancel,
                             Prompter::Icon::Warning) != Prompter::Answer::Retry ||
                giveUp) {
                return false;
            }
        }
    }
}

} // namespace sorvella
