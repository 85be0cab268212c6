#pragma once

#include "save/CodecOptionsUi.h"
#include "tests/support/FakePrompter.h"

#include <deque>
#include <optional>
#include <vector>

namespace sorvella::test {

// Scripted option dialogs: each records what it was shown and answers with
// the next scripted state (none: Cancel; Cancel when the script is empty).
// Message boxes go to `prompter`.
class FakeCodecOptionsUi : public CodecOptionsUi {
public:
    explicit FakeCodecOptionsUi(FakePrompter& prompter) : m_prompter(prompter) {}

    Prompter& prompter() override { return m_prompter; }

    bool editMp3Options(bool& quickCompression) override
    {
        return edit(mp3Answers, mp3OptionsShown, quickCompression);
    }

    bool editWmaOptions(std::int32_t& extension) override
    {
        return edit(wmaAnswers, wmaOptionsShown, extension);
    }

    std::deque<std::optional<bool>> mp3Answers;
    std::vector<bool> mp3OptionsShown;
    std::deque<std::optional<std::int32_t>> wmaAnswers;
    std::vector<std::int32_t> wmaOptionsShown;

private:
    template <typename T>
    static bool edit(std::deque<std::optional<T>>& answers, std::vector<T>& shown, T& value)
    {
        shown.push_back(value);
        std::optional<T> answer;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        if (answer) {
            value = *answer;
        }
        return answer.has_value();
    }

    FakePrompter& m_prompter;
};

} // namespace sorvella::test
