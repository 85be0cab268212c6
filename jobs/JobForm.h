#pragma once

#include "app/CommandLineParser.h"
#include "core/Settings.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace sorvella {

class JobStore;
class RecException;
class SettingsStore;

// The controls of "Sorvella job settings", as shown or as the user left them.
struct JobControls {
    std::string rateText;
    std::int32_t stereo = -1; // 0 mono, 1 stereo, -1 neither
    bool startMinimized = false;
    std::string volumeText; // read-only
    std::string targetText; // read-only
    std::string timeText;
    std::int32_t editAfter = -1; // 0 Quick Save, 1 Edit, -1 neither
    bool autoIncrement = false;

    bool operator==(const JobControls&) const = default;
};

// What the job dialog's logic needs of its window.
class JobSettingsView {
public:
    virtual ~JobSettingsView() = default;
    virtual void showControls(const JobControls& controls) = 0;
    virtual JobControls controls() const = 0;
};

struct JobFormServices {
    JobStore& jobs;
    SettingsStore& store; // the default line, and the target a line is checked on
    CommandLineServices commandLine;
    // "Change...": lets the user choose the target; false when cancelled.
    std::function<bool(SaveTarget& target)> chooseTarget;
    // "Line edit (expert!)": the edited line, nothing when cancelled.
    std::function<std::optional<std::string>(const std::string& line)> editLine;
};

// The logic of "Sorvella job settings" for the job `settings.jobConfigureId`:
// the job's line (or the default line) is read onto `settings`, the controls
// show them, and "OK" stores the line as loaded or typed, unless the user
// touched a control: then the line is built from the controls.
class JobForm {
public:
    static constexpr std::int32_t kHelpTopic = 176;

    // `view` and `settings` must outlive the form; nothing is asked of the
    // view before open().
    JobForm(JobSettingsView& view, Settings& settings, JobFormServices services);

    void open();
    // The user changed the rate, channels, "Start Minimized", the time, the
    // action after it or "Auto-Inc Filename".
    void controlChanged() { m_lineIsSource = false; }

    // OK: stores the job's line. False, with the user told why, when no line
    // can be built; the dialog then stays open.
    bool accept();
    void saveAsDefault();
    void getDefault();
    void clearDefault();
    void retrieveVolume();
    void clearVolume();
    void changeTarget();
    void editLine();

    // The line "OK" and "Save as default" store, checked by reading it onto
    // a scratch record (its bad options are told). Throws RecException when
    // no line can be built from the controls.
    std::string currentLine();

private:
    void loadLine();
    void showSettings();
    void takeControls();
    void tellFailure(const RecException& failure);

    JobSettingsView& m_view;
    Settings& m_settings;
    JobFormServices m_services;
    std::string m_line;
    bool m_lineIsSource = true;
};

} // namespace sorvella
