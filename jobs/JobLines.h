#pragma once

#include "core/Prompter.h"
#include "core/Settings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace sorvella {

class JobStore;
class SettingsStore;
struct CommandLineServices;

// Where the program's settings file keeps the default job line.
inline constexpr std::string_view kJobProfilesSection = "SAGE Profiles";
inline constexpr std::string_view kDefaultJobLine = "default";

// The line of `job`; empty when there is none, or, after "Error: Cannot read
// Sage Setting", when the job file cannot be used.
std::string readJobLine(const JobStore& jobs, std::int32_t job, Prompter& prompter);
// Stores the line, or tells "Error: Cannot read Sage Setting" and stores
// nothing.
void writeJobLine(JobStore& jobs, std::int32_t job, const std::string& line, Prompter& prompter);

// The line of jobs without their own; empty when there is none.
std::string readDefaultJobLine(const SettingsStore& store);
void writeDefaultJobLine(SettingsStore& store, const std::string& line);

// The option line that gives `settings` back when a job runs it (onto a
// record whose target has the same codec): the recording format, the timed
// save or edit, "-i", "-n", the mixer string and the target file, as in
// "-q:s:44100 -c:0:600 -i -f:128:\"/home/me/take.mp3\"". Throws RecException
// when the target's name holds a double quote: it would end the name early
// in the line and let the rest be read as options.
std::string buildJobLine(const Settings& settings);

// Reads `line` onto `settings` with a parser of its own and applies it; bad
// options are told, the rest applies.
void applyJobLine(const std::string& line, Settings& settings, const CommandLineServices& services);

} // namespace sorvella
