#include "app/WindowlessCommandLine.h"

#include "app/CommandLineParser.h"
#include "app/LinuxCodecServices.h"
#include "app/StreamPrompter.h"
#include "app/qt/DisplayPresence.h"
#include "app/qt/MessageBoxPrompter.h"
#include "platform/mixer/AlsaMixerSystem.h"
#include "platform/settings/QSettingsStore.h"
#include "save/CodecCatalogue.h"

#include <QApplication>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace sorvella {
namespace {

// Boxes on the screen when there is one (the window system is started only
// for the first box), else lines on standard error.
class WindowlessPrompter : public Prompter {
public:
    WindowlessPrompter(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}

    Answer ask(const std::string& text, const std::string& caption, Buttons buttons,
               Icon icon) override
    {
        if (!m_display) {
            return m_console.ask(text, caption, buttons, icon);
        }
        if (!m_qt) {
            m_qt.emplace(m_argc, m_argv);
        }
        return m_boxes.ask(text, caption, buttons, icon);
    }

private:
    int& m_argc;
    char** m_argv;
    const bool m_display = hasDisplay();
    StreamPrompter m_console{std::cerr};
    std::optional<QApplication> m_qt;
    MessageBoxPrompter m_boxes;
};

} // namespace

std::optional<int> runWithoutWindows(int& argc, char** argv)
{
    if (argc < 1) {
        return std::nullopt;
    }
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (std::ranges::none_of(arguments, [](const std::string& argument) {
            return CommandLineParser::endsProgram(argument);
        })) {
        return std::nullopt;
    }
    // The settings of this executable's name, as the program itself reads them.
    const QSettingsStore store(std::filesystem::path(argv[0]).filename().string());
    const CodecCatalogue catalogue(store, installedCodecs(linuxCodecServices()));
    AlsaMixerSystem mixers;
    WindowlessPrompter prompter(argc, argv);
    // Nothing records in this run: the options only need a record to change.
    Settings settings;
    CommandLineParser parser(settings, {prompter, catalogue, mixers, std::cout});
    parser.parseArguments(arguments);
    return 0;
}

} // namespace sorvella
