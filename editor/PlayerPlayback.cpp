#include "editor/PlayerPlayback.h"

#include "editor/EditorPlayer.h"

namespace sorvella {
namespace {

class PlayerPlayback final : public Playback {
public:
    PlayerPlayback(RingStore& store, const WaveFormat& format, const WaveformMapping& mapping,
                   WaveOutSystem& output, PlaybackEvents& events)
        : m_player(store, format, mapping, output, events)
    {
    }

    bool pressPlay(EditMode mode, bool playFaded, std::int32_t timingProfile) override
    {
        return m_player.pressPlay(mode, playFaded, timingProfile);
    }
    bool playAt(int x, bool playFaded, std::int32_t timingProfile) override
    {
        return m_player.playAt(x, playFaded, timingProfile);
    }
    void modeChangedToPlay() override { m_player.modeChangedToPlay(); }
    void stopPlayback() override { m_player.stopPlayback(); }
    std::optional<RecException> finish() override { return m_player.finish(); }
    bool playing() const override { return m_player.playing(); }
    std::int64_t playPosition() const override { return m_player.playPosition(); }

private:
    EditorPlayer m_player;
};

} // namespace

PlaybackFactory playerPlayback(WaveOutSystem& output)
{
    return [&output](RingStore& store, const WaveFormat& format, const WaveformMapping& mapping,
                     PlaybackEvents& events) -> std::unique_ptr<Playback> {
        return std::make_unique<PlayerPlayback>(store, format, mapping, output, events);
    };
}

} // namespace sorvella
