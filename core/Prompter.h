#pragma once

#include <string>

namespace sorvella {

// Message boxes for code that must not open windows itself. The Qt
// implementation shows a modal box; tests script the answers; a forced close
// writes the text to standard error and answers the default.
class Prompter {
public:
    enum class Buttons { Ok, OkCancel, RetryCancel, YesNo, YesNoCancel };
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Answer { Ok, Cancel, Retry, Yes, No };

    virtual ~Prompter() = default;

    // Main thread only. Blocks until the user answers. An empty caption means
    // the application's title (the executable's name).
    virtual Answer ask(const std::string& text, const std::string& caption, Buttons buttons,
                       Icon icon) = 0;

    // An OK box with the application's title as caption.
    void tell(const std::string& text, Icon icon = Icon::Warning)
    {
        ask(text, std::string(), Buttons::Ok, icon);
    }
};

} // namespace sorvella
