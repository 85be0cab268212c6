// Sets the capture level of the PulseAudio test input through ALSA's mixer
// and checks it with PulseAudio's own tool. Needs the test input:
// eval "$(scripts/test-input.sh start)".

#include "platform/mixer/AlsaMixerDevice.h"
#include "mixer/ApplyVolumeSettings.h"
#include "mixer/RecordingMixer.h"
#include "mixer/RetrieveVolumeSettings.h"
#include "platform/audio/AlsaWaveInSystem.h"
#include "platform/mixer/AlsaMixerSystem.h"
#include "tests/save/RaisedBy.h"
#include "tests/support/FakePrompter.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace sorvella {
namespace {

QString pactl(const QStringList& arguments)
{
    QProcess process;
    process.start("pactl", arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0) {
        ADD_FAILURE() << "pactl " << arguments.join(' ').toStdString() << " failed";
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// The default input's level and mute as PulseAudio reports them; both are
// put back when the test ends.
class DefaultSource {
public:
    DefaultSource() : m_name(pactl({"get-default-source"}))
    {
        for (const QString& raw : values(1)) {
            m_rawVolumes << raw;
        }
        m_mute = pactl({"get-source-mute", m_name}).endsWith("yes") ? "1" : "0";
        pactl({"set-source-mute", m_name, "0"});
    }
    ~DefaultSource()
    {
        pactl(QStringList{"set-source-volume", m_name} + m_rawVolumes);
        pactl({"set-source-mute", m_name, m_mute});
    }

    // Per channel, in per cent.
    std::vector<int> percents()
    {
        std::vector<int> shares;
        for (const QString& share : values(2)) {
            shares.push_back(share.toInt());
        }
        return shares;
    }

    bool muted() { return pactl({"get-source-mute", m_name}).endsWith("yes"); }

private:
    // "front-left: 65536 / 100% / 0.00 dB, ...": the raw values or the shares.
    QStringList values(int group)
    {
        static const QRegularExpression channel(R"((\d+) / +(\d+)%)");
        QStringList found;
        auto matches = channel.globalMatch(pactl({"get-source-volume", m_name}));
        while (matches.hasNext()) {
            found << matches.next().captured(group);
        }
        return found;
    }

    QString m_name;
    QStringList m_rawVolumes;
    QString m_mute;
};

// Input device 0 is ALSA's "default"; the other names the "pulse" PCM itself.
int pulseInputDevice()
{
    const std::vector<std::string> names = AlsaWaveInSystem().deviceNames();
    const auto pulse = std::ranges::find(names, "PulseAudio Sound Server");
    return pulse == names.end() ? -1 : static_cast<int>(pulse - names.begin()) + 1;
}

class AlsaMixerDeviceTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        ASSERT_NE(std::getenv("PULSE_SERVER"), nullptr)
            << "start the test input: eval \"$(scripts/test-input.sh start)\"";
        card = GetParam() ? pulseInputDevice() : 0;
        ASSERT_GE(card, 0) << "ALSA lists no \"pulse\" capture device";
    }

    AlsaMixerSystem mixers;
    test::FakePrompter prompter;
    int card = 0;
};

TEST_P(AlsaMixerDeviceTest, SetsAndRetrievesTheCaptureLevel)
{
    DefaultSource source;
    ASSERT_FALSE(source.percents().empty());
    for (const int percent : {37, 100, 0, 50}) {
        const std::string settings = "-v:0-" + std::to_string(percent);
        EXPECT_EQ(applyVolumeSettings(settings, card, mixers, prompter),
                  VolumeApplyResult::Applied);
        const std::vector<int> channels = source.percents();
        EXPECT_TRUE(std::ranges::all_of(channels, [&](int share) { return share == percent; }))
            << "PulseAudio reports " << ::testing::PrintToString(channels) << " for " << percent;
        EXPECT_EQ(retrieveVolumeSettings(mixers, card, prompter), settings);
    }
    EXPECT_FALSE(source.muted()) << "deselecting the sources muted the input";
    EXPECT_TRUE(prompter.boxes.empty());
}

// PulseAudio's mixer has the recording level and no sources to choose.
TEST_P(AlsaMixerDeviceTest, HasNoSourcesToSelect)
{
    RecordingMixer mixer(mixers);
    mixer.open(card);
    EXPECT_GE(mixer.volume(-1), 0);
    EXPECT_EQ(test::raisedBy([&] { mixer.volume(0); }).message(), "cannot get line info: source 0");
    EXPECT_EQ(test::raisedBy([&] { mixer.isSelected(0); }).message(),
              "cannot get mixer-line controls");
    EXPECT_FALSE(mixer.selection());
}

// An input whose PCM has no control device of its own (a rate converter
// plugin, say) has no mixer: the default card's must not stand in for it.
TEST(AlsaMixerSystem, AnInputWithoutAMixerOpensNone)
{
    AlsaMixerSystem mixers;
    const int inputs = static_cast<int>(AlsaWaveInSystem().deviceNames().size());
    int withoutMixer = 1;
    while (withoutMixer <= inputs && openAlsaMixer(mixers.controlName(withoutMixer))) {
        ++withoutMixer;
    }
    if (withoutMixer > inputs) {
        GTEST_SKIP() << "every ALSA capture device has a mixer of its own";
    }
    RecordingMixer mixer(mixers);
    EXPECT_EQ(test::raisedBy([&] { mixer.open(withoutMixer); }).message(),
              "cannot open Mixer device");
}

INSTANTIATE_TEST_SUITE_P(Devices, AlsaMixerDeviceTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Pulse" : "Default"; });

} // namespace
} // namespace sorvella
