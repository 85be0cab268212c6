// libFuzzer target: option lines, process arguments, single tokens and
// mixer texts, parsed and applied against the program's real codecs and a
// fake mixer. Any crash, hang, sanitizer report or broken invariant (a trap)
// is a finding. The first byte of an input picks the entry point.

#include "app/CommandLineParser.h"
#include "app/LinuxCodecServices.h"
#include "core/RecException.h"
#include "mixer/VolumeSettings.h"
#include "platform/fakes/FakeMixerSystem.h"
#include "platform/fakes/FakeSettingsStore.h"
#include "save/CodecCatalogue.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace sorvella {
namespace {

enum class Entry : std::uint8_t { Line, Arguments, Token, FlagToken, VolumeText, Count };

// Answers every box with its first choice; the texts are not kept.
class SilentPrompter : public Prompter {
public:
    Answer ask(const std::string&, const std::string&, Buttons buttons, Icon) override
    {
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes
                                                                            : Answer::Ok;
    }
};

void require(bool holds)
{
    if (!holds) {
        __builtin_trap();
    }
}

// Four sources on a multiple selection, two of them on.
FakeMixerSystem makeMixers()
{
    FakeMixerSystem mixers;
    mixers.mixer.selection = FakeMixerState::Selection::Multiple;
    for (int i = 0; i < 4; ++i) {
        mixers.mixer.addSource("Source " + std::to_string(i), 20000U * static_cast<unsigned>(i),
                               i % 2 == 0);
    }
    return mixers;
}

// What any line must leave behind.
void checkSettings(const Settings& settings)
{
    const WaveFormat& format = settings.format;
    require(format.channels == 1 || format.channels == 2);
    require(format.avgBytesPerSec == format.channels * format.samplesPerSec * 2);
    require(format.blockAlign == format.channels * 2);
    require(settings.target.formatNumber >= 0);
}

// A text the parser takes is the text of what it read.
void fuzzVolumeText(std::string_view text)
{
    VolumeSettings parsed;
    try {
        parsed = VolumeSettings::parse(text);
    } catch (const RecException& error) {
        require(error.message() == VolumeSettings::kWrongArguments);
        return;
    }
    require(VolumeSettings::parse(parsed.text()).items == parsed.items);
}

std::vector<std::string> splitArguments(std::string_view text)
{
    std::vector<std::string> arguments;
    for (;;) {
        const auto end = text.find('\n');
        arguments.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            return arguments;
        }
        text.remove_prefix(end + 1);
    }
}

void fuzzParser(Entry entry, std::string_view text)
{
    static FakeSettingsStore store;
    static const CodecCatalogue catalogue(store, installedCodecs(linuxCodecServices()));
    FakeMixerSystem mixers = makeMixers();
    SilentPrompter prompter;
    std::ostream discard(nullptr);
    Settings settings;
    CommandLineParser parser(settings, {prompter, catalogue, mixers, discard});
    switch (entry) {
    case Entry::Line:
        parser.parseLine(text);
        break;
    case Entry::Arguments:
        parser.parseArguments(splitArguments(text));
        break;
    case Entry::Token:
    case Entry::FlagToken:
        parser.parseParam(text, entry == Entry::FlagToken);
        break;
    default:
        return;
    }
    if (!parser.ended()) {
        parser.apply();
    }
    checkSettings(settings);
}

} // namespace
} // namespace sorvella

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using sorvella::Entry;
    if (size == 0) {
        return 0;
    }
    const auto entry = static_cast<Entry>(data[0] % static_cast<std::uint8_t>(Entry::Count));
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (entry == Entry::VolumeText) {
        sorvella::fuzzVolumeText(text);
    } else {
        sorvella::fuzzParser(entry, text);
    }
    return 0;
}
