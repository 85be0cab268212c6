#pragma once

#include "save/SaveAsWindows.h"
#include "tests/support/FakePrompter.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace sorvella::test {

// Scripted "Save As..." windows: each dialog records what it was shown and
// answers with the next scripted answer (Cancel when none is left).
class FakeSaveAsWindows : public SaveFileDialog, public FormatOptionChooser {
public:
    std::optional<Choice> choose(const Request& request) override
    {
        requests.push_back(request);
        return next(fileChoices);
    }

    std::optional<std::int32_t> chooseFormat(const std::vector<std::string>& labels) override
    {
        formatLists.push_back(labels);
        return next(formatChoices);
    }

    SaveAsWindows windows() { return SaveAsWindows{*this, *this, prompter}; }

    std::deque<std::optional<Choice>> fileChoices;
    std::deque<std::optional<std::int32_t>> formatChoices;
    std::vector<Request> requests;
    std::vector<std::vector<std::string>> formatLists;
    FakePrompter prompter;

private:
    template <typename Answer>
    static std::optional<Answer> next(std::deque<std::optional<Answer>>& script)
    {
        if (script.empty()) {
            return std::nullopt;
        }
        std::optional<Answer> answer = script.front();
        script.pop_front();
        return answer;
    }
};

} // namespace sorvella::test
