// Placeholder so that the program links until the play thread lands: it
// never plays.
#include "editor/EditorPlayer.h"

namespace sorvella {

EditorPlayer::EditorPlayer(RingStore&, const WaveFormat&, const WaveformMapping&, WaveOutSystem&,
                           PlaybackEvents&)
{
}

EditorPlayer::~EditorPlayer() = default;

bool EditorPlayer::pressPlay(EditMode, bool, std::int32_t)
{
    return false;
}

bool EditorPlayer::playAt(int, bool, std::int32_t)
{
    return false;
}

void EditorPlayer::modeChangedToPlay() {}

void EditorPlayer::stopPlayback() {}

std::optional<RecException> EditorPlayer::finish()
{
    return std::nullopt;
}

bool EditorPlayer::playing() const
{
    return false;
}

std::int64_t EditorPlayer::playPosition() const
{
    return 0;
}

std::int64_t EditorPlayer::playEnd() const
{
    return -1;
}

} // namespace sorvella
