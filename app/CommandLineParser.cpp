#include "app/CommandLineParser.h"

#include "app/CompressedTarget.h"
#include "app/OptionNumbers.h"
#include "app/UsageText.h"
#include "app/WindowsMediaCheck.h"
#include "mixer/ApplyVolumeSettings.h"
#include "save/TargetRecord.h"

#include <algorithm>
#include <array>

namespace sorvella {
namespace {

constexpr std::string_view kInstallConfig = "installconfig";
// "--help" on the process's command line: its first '-' is the marker.
constexpr std::string_view kHelp = "-help";
constexpr std::string_view kJobConfigure = "SAGESET:";
constexpr std::string_view kJobRun = "SAGERUN:";
static_assert(kJobConfigure.size() == kJobRun.size());
constexpr std::string_view kVolumePrefix = "-v:";

// The sample rates "-q:" takes.
constexpr std::array<std::int32_t, 15> kRates{8000,   11025,  16000,  22050,   24000,
                                              32000,  44100,  48000,  100001,  200001,
                                              300001, 400001, 500001, 1000001, 2000001};

constexpr std::int32_t kSaveAfter = 2;
constexpr std::int32_t kEditAfter = 3;
constexpr std::int32_t kFollowClose = 0;
constexpr std::int32_t kFollowIdle = 1;
constexpr std::int32_t kNoJob = -1;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A process argument as a token: its text and whether it had a marker.
std::pair<std::string_view, bool> splitMarker(std::string_view argument)
{
    if (!argument.empty() && (argument.front() == '-' || argument.front() == '/')) {
        return {argument.substr(1), true};
    }
    return {argument, false};
}

} // namespace

void reportCommandLineError(Prompter& prompter, const std::string& text)
{
    prompter.ask(text, "Command line parsing", Prompter::Buttons::Ok, Prompter::Icon::None);
}

CommandLineParser::CommandLineParser(Settings& settings, const CommandLineServices& services)
    : m_settings(settings), m_services(services)
{
}

bool CommandLineParser::endsProgram(std::string_view text, bool isFlag)
{
    return text == kInstallConfig || (isFlag && text == kHelp);
}

bool CommandLineParser::endsProgram(std::string_view argument)
{
    const auto [text, isFlag] = splitMarker(argument);
    return endsProgram(text, isFlag);
}

void CommandLineParser::parseParam(std::string_view text, bool isFlag)
{
    if (m_ended) {
        return;
    }
    if (endsProgram(text, isFlag)) {
        endProgram(text);
    } else if (text.starts_with(kJobConfigure)) {
        setJob(m_settings.jobConfigureId, text);
    } else if (text.starts_with(kJobRun)) {
        setJob(m_settings.jobRunId, text);
    } else if (!isFlag) {
        reportCommandLineError(m_services.prompter, "Invalid Parameter: " + std::string(text));
    } else if (!oneLetterOption(text) && !optionWithArgument(text)) {
        reportInvalid(text);
    }
}

void CommandLineParser::parseArguments(std::span<const std::string> arguments)
{
    for (const std::string& argument : arguments) {
        if (m_ended) {
            return;
        }
        const auto [text, isFlag] = splitMarker(argument);
        parseParam(text, isFlag);
    }
}

void CommandLineParser::parseLine(std::string_view line)
{
    std::string token;
    bool quoted = false;
    bool marked = false;
    const auto endToken = [&] {
        if (!token.empty()) {
            parseParam(token, marked);
        }
        token.clear();
        marked = false;
    };
    for (const char c : line) {
        if (m_ended) {
            return;
        }
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '-' && token.empty()) {
            marked = true;
        } else if (c == ' ' && !quoted) {
            endToken();
        } else {
            token += c;
        }
    }
    endToken();
}

void CommandLineParser::endProgram(std::string_view text)
{
    if (text == kInstallConfig) {
        checkWindowsMediaCodec(m_services.catalogue, m_services.out, m_services.prompter);
    } else {
        m_services.out << usageText();
    }
    m_ended = true;
}

void CommandLineParser::setJob(std::int32_t& job, std::string_view text)
{
    // A scheduler names its job by a plain number: a sign, a letter or a
    // number past 32 bits would run or overwrite another job.
    const std::string_view digits = text.substr(kJobRun.size());
    const std::optional<std::int32_t> number = leadingNumber(digits);
    if (digits.empty() || !std::ranges::all_of(digits, isDigit) || !number) {
        reportInvalid(text);
        m_jobRefused = true;
        return;
    }
    job = *number;
}

bool CommandLineParser::oneLetterOption(std::string_view token)
{
    if (token.size() != 1) {
        return false;
    }
    switch (token[0]) {
    case 'i':
        m_settings.startMinimized = true;
        return true;
    case 'n':
        m_settings.incrementAtStart = true;
        return true;
    case 's':
        m_settings.autoSaveAction = 1;
        return true;
    case 'v':
        m_settings.volumeSettings.clear();
        return true;
    case 'x':
        m_settings.startRetryTicks = 0;
        return true;
    default:
        return false;
    }
}

// A letter, ':' and at least one more character.
bool CommandLineParser::optionWithArgument(std::string_view token)
{
    if (token.size() <= 2 || token[1] != ':') {
        return false;
    }
    const std::string_view argument = token.substr(2);
    switch (token[0]) {
    case 'q':
    case 'D':
        return recordingFormat(argument);
    case 'S': {
        const std::optional<std::int32_t> card = leadingNumber(argument);
        if (card) {
            m_settings.soundCard = *card;
        }
        return card.has_value();
    }
    case 'c':
        return timedAction(argument, kSaveAfter, kFollowClose);
    case 'e':
        return timedAction(argument, kEditAfter, kFollowIdle);
    case 'f':
        return targetFile(argument);
    case 'v':
        m_settings.volumeSettings = std::string(kVolumePrefix) + std::string(argument);
        return true;
    default:
        return false;
    }
}

// [s or m][:][rate]; a channel change stays even when the rate is refused.
bool CommandLineParser::recordingFormat(std::string_view argument)
{
    WaveFormat& format = m_settings.format;
    if (argument.starts_with('s')) {
        format.channels = 2;
        argument.remove_prefix(1);
    }
    if (argument.starts_with('m')) {
        format.channels = 1;
        argument.remove_prefix(1);
    }
    if (argument.starts_with(':')) {
        argument.remove_prefix(1);
    }
    const std::optional<std::int32_t> rate = leadingNumber(argument);
    const bool taken = rate && (*rate == 0 || std::ranges::find(kRates, *rate) != kRates.end());
    if (taken && *rate != 0) {
        format.samplesPerSec = static_cast<std::uint32_t>(*rate);
    }
    format.deriveFields();
    return taken;
}

bool CommandLineParser::timedAction(std::string_view argument, std::int32_t action,
                                    std::int32_t follow)
{
    const std::optional<std::int32_t> seconds = timeInSeconds(argument);
    if (!seconds) {
        return false;
    }
    m_settings.autoSaveTime = *seconds;
    m_settings.autoSaveAction = action;
    m_settings.autoSaveFollow = follow;
    return true;
}

// [kbit:]file name: a compressed name waits for apply(); any other is saved
// as recorded, with the codec left as it is.
bool CommandLineParser::targetFile(std::string_view argument)
{
    if (!isCompressedName(argument)) {
        m_targetBitrate.reset();
        setFileName(m_settings.target, std::string(argument));
        return true;
    }
    const auto colon = argument.find(':');
    if (colon == std::string_view::npos || argument.front() < '0' || argument.front() > '9') {
        m_targetBitrate = kAnyBitrate;
        m_targetFileName = argument;
        return true;
    }
    const std::optional<std::int32_t> bitrate = leadingNumber(argument.substr(0, colon));
    if (!bitrate) {
        return false;
    }
    m_targetBitrate = *bitrate;
    m_targetFileName = argument.substr(colon + 1);
    return true;
}

void CommandLineParser::apply()
{
    m_settings.target.sourceFormat = m_settings.format;
    if (m_targetBitrate) {
        selectCompressedTarget(m_settings.target, m_targetFileName, *m_targetBitrate,
                               m_services.catalogue, m_services.prompter);
    }
    applyMixer();
}

void CommandLineParser::applyMixer()
{
    const std::string& volume = m_settings.volumeSettings;
    if (volume.empty()) {
        return;
    }
    if (!volume.starts_with(kVolumePrefix)) {
        m_services.prompter.ask("Warning: internal error in parsing -v option", "Error",
                                Prompter::Buttons::Ok, Prompter::Icon::None);
    }
    const std::string items = volume.substr(std::min(volume.size(), kVolumePrefix.size()));
    if (items.empty() || m_settings.jobConfigureId != kNoJob) {
        return;
    }
    applyVolumeSettings(std::string(kVolumePrefix) + items, m_settings.soundCard, m_services.mixers,
                        m_services.prompter);
}

void CommandLineParser::reportInvalid(std::string_view text)
{
    reportCommandLineError(m_services.prompter, "Invalid Parameter: '" + std::string(text) + "'");
}

bool applyProcessArguments(std::span<const std::string> arguments, Settings& settings,
                           const CommandLineServices& services)
{
    CommandLineParser parser(settings, services);
    parser.parseArguments(arguments);
    if (parser.jobRefused()) {
        return false;
    }
    if (parser.ended()) {
        return true;
    }
    if (settings.jobRunId != kNoJob) {
        settings.volumeSettings.clear();
    }
    parser.apply();
    return true;
}

} // namespace sorvella
