#pragma once

#include "save/CodecOptionsUi.h"
#include "tests/engine/FakePrompter.h"

#include <deque>
#include <optional>

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
        mp3OptionsShown.push_back(quickCompression);
        std::optional<bool> answer;
        if (!mp3Answers.empty()) {
            answer = mp3Answers.front();
            mp3Answers.pop_front();
        }
        if (answer) {
            quickCompression = *answer;
        }
        return answer.has_value();
    }

    bool editWmaOptions(std::int32_t& extension) override
    {
        wmaOptionsShown.push_back(extension);
        std::optional<std::int32_t> answer;
        if (!wmaAnswers.empty()) {
            answer = wmaAnswers.front();
            wmaAnswers.pop_front();
        }
        if (answer) {
            extension = *answer;
        }
        return answer.has_value();
    }

    std::deque<std::optional<bool>> mp3Answers;
    std::vector<bool> mp3OptionsShown;
    std::deque<std::optional<std::int32_t>> wmaAnswers;
    std::vector<std::int32_t> wmaOptionsShown;

private:
    FakePrompter& m_prompter;
};

} // namespace sorvella::test
