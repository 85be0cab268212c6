// liblame_enc.so: the "be" entry points of an MP3 encoder library over
// libmp3lame, for the encoder-library codecs of Sorvella.

#include "core/LittleEndian.h"
#include "platform/compression/LameSetup.h"
#include "save/codecs/EncoderLibraryInterface.h"

#include <cstring>
#include <new>
#include <type_traits>

using namespace sorvella;

namespace {

constexpr be::Error kOk = 0;
constexpr be::Error kFailed = 1;
constexpr be::Error kInvalidParameter = 2;

constexpr std::uint8_t kLibraryMajor = 1;
constexpr std::uint8_t kLibraryMinor = 0;

struct Encoder {
    lame_global_flags* lame;
    std::uint32_t channels;
    std::uint32_t samplesPerChunk;
    std::uint32_t bufferSize;
};

std::uint32_t read(const std::uint8_t* config, int at, int bytes)
{
    return static_cast<std::uint32_t>(le::read(config + at, bytes));
}

Encoder* encoderOf(be::Stream stream)
{
    return reinterpret_cast<Encoder*>(stream);
}

// Sets `lame` up for the configuration record; false when it cannot be.
bool configure(lame_global_flags* lame, const std::uint8_t* config)
{
    const std::uint8_t mode = config[be::kConfigModeAt];
    if (read(config, be::kConfigKindAt, 4) != 0 ||
        (mode != be::kModeStereo && mode != be::kModeJointStereo && mode != be::kModeMono)) {
        return false;
    }
    const auto rate = static_cast<int>(read(config, be::kConfigSampleRateAt, 4));
    lame::setUpConstantBitRate(lame, mode == be::kModeMono ? 1 : 2, rate, rate,
                               static_cast<int>(read(config, be::kConfigBitRateAt, 2)));
    lame_set_mode(lame, mode == be::kModeMono          ? MONO
                        : mode == be::kModeJointStereo ? JOINT_STEREO
                                                       : STEREO);
    lame_set_extension(lame, read(config, be::kConfigPrivateAt, 4) != 0);
    lame_set_error_protection(lame, read(config, be::kConfigCrcAt, 4) != 0);
    lame_set_copyright(lame, read(config, be::kConfigCopyrightAt, 4) != 0);
    lame_set_original(lame, read(config, be::kConfigOriginalAt, 4) != 0);
    return lame_init_params(lame) >= 0;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) be::Error beInitStream(const std::uint8_t* config,
                                                              std::uint32_t* samplesPerChunk,
                                                              std::uint32_t* bufferSize,
                                                              be::Stream* stream)
{
    if (config == nullptr || samplesPerChunk == nullptr || bufferSize == nullptr ||
        stream == nullptr) {
        return kInvalidParameter;
    }
    lame_global_flags* lame = lame_init();
    if (lame == nullptr) {
        return kFailed;
    }
    if (!configure(lame, config)) {
        lame_close(lame);
        return kFailed;
    }
    const auto frame = static_cast<std::uint32_t>(lame_get_framesize(lame));
    const auto channels = static_cast<std::uint32_t>(lame_get_num_channels(lame));
    auto* encoder =
        new (std::nothrow) Encoder{lame, channels, frame * channels, lame::worstCaseBytes(frame)};
    if (encoder == nullptr) {
        lame_close(lame);
        return kFailed;
    }
    *samplesPerChunk = encoder->samplesPerChunk;
    *bufferSize = encoder->bufferSize;
    *stream = reinterpret_cast<be::Stream>(encoder);
    return kOk;
}

// More samples than a chunk could need more room than the caller was told.
__attribute__((visibility("default"))) be::Error
beEncodeChunk(be::Stream stream, std::uint32_t samples, const std::int16_t* input,
              std::uint8_t* output, std::uint32_t* written)
{
    Encoder* encoder = encoderOf(stream);
    if (encoder == nullptr || written == nullptr || output == nullptr ||
        (samples > 0 && input == nullptr) || samples > encoder->samplesPerChunk) {
        return kInvalidParameter;
    }
    const auto frames = static_cast<int>(samples / encoder->channels);
    const auto room = static_cast<int>(encoder->bufferSize);
    const int result = encoder->channels == 2
                           ? lame_encode_buffer_interleaved(
                                 encoder->lame, const_cast<short*>(input), frames, output, room)
                           : lame_encode_buffer(encoder->lame, input, input, frames, output, room);
    if (result < 0) {
        return kFailed;
    }
    *written = static_cast<std::uint32_t>(result);
    return kOk;
}

// LAME takes a room of 0 as unlimited: the caller must state one.
__attribute__((visibility("default"))) be::Error
beDeinitStream(be::Stream stream, std::uint8_t* output, std::uint32_t* written)
{
    Encoder* encoder = encoderOf(stream);
    if (encoder == nullptr || output == nullptr || written == nullptr || *written == 0) {
        return kInvalidParameter;
    }
    const int result = lame_encode_flush(encoder->lame, output, static_cast<int>(*written));
    if (result < 0) {
        return kFailed;
    }
    *written = static_cast<std::uint32_t>(result);
    return kOk;
}

__attribute__((visibility("default"))) be::Error beCloseStream(be::Stream stream)
{
    Encoder* encoder = encoderOf(stream);
    if (encoder == nullptr) {
        return kInvalidParameter;
    }
    lame_close(encoder->lame);
    delete encoder;
    return kOk;
}

__attribute__((visibility("default"))) void beVersion(be::Version* version)
{
    if (version == nullptr) {
        return;
    }
    std::memset(version, 0, sizeof *version);
    lame_version_t lame{};
    get_lame_version_numerical(&lame);
    version->libraryMajor = kLibraryMajor;
    version->libraryMinor = kLibraryMinor;
    version->engineMajor = static_cast<std::uint8_t>(lame.major);
    version->engineMinor = static_cast<std::uint8_t>(lame.minor);
    version->alphaLevel = static_cast<std::uint8_t>(lame.alpha);
    version->betaLevel = static_cast<std::uint8_t>(lame.beta);
}

} // extern "C"

// The entry points are what the codecs call them as.
static_assert(std::is_same_v<decltype(&beInitStream), be::InitStream>);
static_assert(std::is_same_v<decltype(&beEncodeChunk), be::EncodeChunk>);
static_assert(std::is_same_v<decltype(&beDeinitStream), be::DeinitStream>);
static_assert(std::is_same_v<decltype(&beCloseStream), be::CloseStream>);
static_assert(std::is_same_v<decltype(&beVersion), be::GetVersion>);
