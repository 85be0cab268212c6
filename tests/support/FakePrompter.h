#pragma once

#include "core/Prompter.h"

#include <deque>
#include <string>
#include <vector>

namespace sorvella::test {

// Records every box and answers from a script (Ok when the script is empty).
class FakePrompter : public Prompter {
public:
    struct Box {
        std::string text;
        std::string caption;
        Buttons buttons;
        Icon icon;
    };

    Answer ask(const std::string& text, const std::string& caption, Buttons buttons,
               Icon icon) override
    {
        boxes.push_back({text, caption, buttons, icon});
        if (answers.empty()) {
            return Answer::Ok;
        }
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }

    std::vector<Box> boxes;
    std::deque<Answer> answers;
};

} // namespace sorvella::test
