#pragma once

#include "core/Prompter.h"
#include "core/Settings.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace sorvella {

class CodecCatalogue;
class MixerSystem;

// What the options reach beyond the settings. All must outlive the parser.
struct CommandLineServices {
    Prompter& prompter;
    const CodecCatalogue& catalogue; // the codecs a compressed target is searched in
    MixerSystem& mixers;             // the recording mixer "-v:" sets
    std::ostream& out;               // "installconfig" and "--help" write here
};

// Tells the user about an option that was not taken: an OK box with the
// caption "Command line parsing". Parsing goes on afterwards.
void reportCommandLineError(Prompter& prompter, const std::string& text);

// Reads the options of one line (the process's arguments or a stored job
// line) into `settings`, overriding them for this run. Built for each line:
// parse every token, then apply() once. Bad tokens are reported and leave
// the settings they name as they were; nothing here throws. Main thread.
class CommandLineParser {
public:
    CommandLineParser(Settings& settings, const CommandLineServices& services);

    // One token: `text` without its marker ('-' or '/'), `isFlag` whether it
    // had one. Keywords ("installconfig", "SAGESET:n", "SAGERUN:n") count
    // with or without a marker; every other token needs one.
    void parseParam(std::string_view text, bool isFlag);

    // The process's arguments after the program's name: a leading '-' or
    // '/' is the marker. Stops when an argument ends the program.
    void parseArguments(std::span<const std::string> arguments);

    // A stored option line: tokens end at spaces outside double quotes, the
    // quotes themselves are dropped, and a '-' that starts a token is its
    // marker. Stops when a token ends the program.
    void parseLine(std::string_view line);

    // True once "installconfig" or "--help" has done its work: the program
    // is to end with exit code 0 without recording. Later tokens are not
    // read, and apply() is not to be called.
    bool ended() const { return m_ended; }

    // True once "SAGESET:" or "SAGERUN:" came with anything but a plain
    // 32-bit number (reported): the run is to end without doing anything.
    bool jobRefused() const { return m_jobRefused; }

    // The options that need the whole line: the recording format becomes the
    // target's source format, a compressed target ("-f:" with an .mp3, .mp2,
    // .ogg, .asf or .wma name) gets its codec and format, and the mixer is
    // set from `volumeSettings` unless a job is being configured.
    void apply();

    // Whether a process argument ends the program before any window is
    // needed ("installconfig", "--help").
    static bool endsProgram(std::string_view argument);

private:
    static bool endsProgram(std::string_view text, bool isFlag);
    void endProgram(std::string_view text);
    void setJob(std::int32_t& job, std::string_view text);
    // Each false when the token is not one of its options.
    bool oneLetterOption(std::string_view token);
    bool optionWithArgument(std::string_view token);
    bool recordingFormat(std::string_view argument);
    bool timedAction(std::string_view argument, std::int32_t action, std::int32_t follow);
    bool targetFile(std::string_view argument);
    void applyMixer();
    void reportInvalid(std::string_view text);

    Settings& m_settings;
    CommandLineServices m_services;
    // Nothing without a compressed target on the line; kAnyBitrate for any
    // format of its codec; else the kBit/s wanted.
    std::optional<std::int32_t> m_targetBitrate;
    std::string m_targetFileName;
    bool m_ended = false;
    bool m_jobRefused = false;
};

// Start-up's command-line stage: the process's arguments into `settings`,
// then apply(). A scheduled job to run brings its own mixer values, so the
// stored ones are dropped first. Nothing is applied when an argument ended
// the program (start-up deals with those before). False, with nothing
// applied, when a job number was refused.
[[nodiscard]] bool applyProcessArguments(std::span<const std::string> arguments, Settings& settings,
                                         const CommandLineServices& services);

} // namespace sorvella
