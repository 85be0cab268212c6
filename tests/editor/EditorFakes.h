#pragma once

#include "control/Clock.h"
#include "editor/EditorView.h"
#include "editor/Playback.h"
#include "editor/SelectionSaves.h"
#include "engine/RingStore.h"

#include <string>
#include <vector>

namespace sorvella::test {

class FixedClock : public Clock {
public:
    std::int64_t now() const override { return time; }
    std::int64_t time = 1700000000;
};

class RecordingEditorView : public EditorView {
public:
    void showDisplays(const EditorDisplays& d) override { displays = d; }
    void showPlayTime(const std::string& text) override { playTime = text; }
    void showSelection() override {}
    void showRange(const ScrollBarState& bar) override { scrollBar = bar; }

    EditorDisplays displays;
    std::string playTime;
    ScrollBarState scrollBar;
};

// Records what the editor asks of its playback; never plays.
class FakePlayback : public Playback {
public:
    struct Log {
        std::vector<EditMode> presses;
        int stops = 0;
    };
    explicit FakePlayback(Log& log) : m_log(log) {}

    bool pressPlay(EditMode mode, bool, std::int32_t) override
    {
        m_log.presses.push_back(mode);
        return false;
    }
    bool playAt(int, bool, std::int32_t) override { return false; }
    void modeChangedToPlay() override {}
    void stopPlayback() override { ++m_log.stops; }
    std::optional<RecException> finish() override { return std::nullopt; }
    bool playing() const override { return false; }
    std::int64_t playPosition() const override { return 0; }

    static PlaybackFactory factory(Log& log)
    {
        return [&log](RingStore&, const WaveFormat&, const WaveformMapping&, PlaybackEvents&) {
            return std::make_unique<FakePlayback>(log);
        };
    }

private:
    Log& m_log;
};

// Saves that never write: the file choice and the start are scripted.
class FakeSaves : public SelectionSaves {
public:
    bool chooseTarget(SaveTarget& target) override
    {
        chosen.push_back(target.fileName);
        return choose;
    }
    void startSave(std::unique_ptr<RingStore>& snapshot, const SaveTarget&,
                   const BlockFilter&) override
    {
        if (failStart) {
            throw RecException(RecException::OpenFailure, "Cannot open targetfile: take.wav");
        }
        snapshot.reset();
        ++started;
    }

    bool choose = true;
    bool failStart = false;
    std::vector<std::string> chosen;
    int started = 0;
};

} // namespace sorvella::test
