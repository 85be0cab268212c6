#pragma once

#include "app/CommandLineParser.h"
#include "app/LinuxCodecServices.h"
#include "core/Settings.h"
#include "platform/fakes/FakeMixerSystem.h"
#include "platform/fakes/FakeSettingsStore.h"
#include "save/CodecCatalogue.h"
#include "tests/support/FakePrompter.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace sorvella::test {

// A parser over a settings record with the program's real codecs, a fake
// mixer and a prompter that records the boxes.
class CommandLineFixture : public ::testing::Test {
protected:
    CommandLineServices services() { return {prompter, catalogue, mixers, out}; }

    // The arguments as the process would get them, parsed; apply() after.
    void parseArguments(std::initializer_list<std::string> arguments, bool apply = false)
    {
        CommandLineParser parser(settings, services());
        parser.parseArguments(std::vector<std::string>(arguments));
        if (apply) {
            parser.apply();
        }
    }

    void parseAndApply(std::initializer_list<std::string> arguments)
    {
        parseArguments(arguments, true);
    }

    void expectBoxes(const std::vector<std::string>& texts, const std::string& caption) const
    {
        ASSERT_EQ(prompter.boxes.size(), texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(prompter.boxes[i].text, texts[i]);
            EXPECT_EQ(prompter.boxes[i].caption, caption);
            EXPECT_EQ(prompter.boxes[i].buttons, Prompter::Buttons::Ok);
        }
    }

    void expectCommandLineError(const std::string& text) const
    {
        expectBoxes({text}, "Command line parsing");
    }

    Settings settings;
    FakePrompter prompter;
    FakeSettingsStore store;
    CodecCatalogue catalogue{store, installedCodecs(linuxCodecServices())};
    FakeMixerSystem mixers;
    std::ostringstream out;
};

} // namespace sorvella::test
