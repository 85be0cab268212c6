#include "save/codecs/CallbackCodec.h"

#include "core/LittleEndian.h"
#include "core/RecException.h"

namespace sorvella {

namespace {

// A frame of FLAC's levels 5 and 8; any size suits Opus.
constexpr std::int32_t kFramesPerBlock = 4096;

} // namespace

CallbackCodec::CallbackCodec(const Names& names) : m_names(names) {}

CallbackCodec::~CallbackCodec() = default;

CallbackCodec::CallbackCodec(const CallbackCodec& other) : Codec(other), m_names(other.m_names) {}

std::string CallbackCodec::extension() const
{
    return m_names.extension;
}

std::string CallbackCodec::description() const
{
    return m_names.description;
}

std::string CallbackCodec::fileTypeName() const
{
    return m_names.fileTypeName;
}

bool CallbackCodec::writesOwnFile() const
{
    return true;
}

std::int32_t CallbackCodec::inputBlockSize(std::int32_t, const WaveFormat& inputFormat)
{
    return kFramesPerBlock * inputFormat.blockAlign;
}

void CallbackCodec::start(std::int32_t formatNumber, const WaveFormat& inputFormat)
{
    // A format the codec refuses raises here, before the target is touched.
    queryFormat(formatNumber, inputFormat);
    auto target = std::make_unique<CallbackTarget>(targetFiles(), fileName());
    try {
        startEncoder(formatNumber, inputFormat, *target);
    } catch (const RecException&) {
        target->raiseIfFailed();
        throw;
    }
    target->raiseIfFailed();
    m_frameBytes = inputFormat.blockAlign;
    m_samples.assign(static_cast<std::size_t>(kFramesPerBlock) * inputFormat.channels, 0);
    m_target = std::move(target);
}

void CallbackCodec::encode(const std::uint8_t* input, std::int32_t& inputLength, std::uint8_t*,
                           std::int32_t& outputLength, bool isLast)
{
    outputLength = 0;
    m_target->raiseIfFailed();
    const std::int32_t frames = inputLength / m_frameBytes;
    const std::int32_t samples = frames * m_frameBytes / 2;
    for (std::int32_t i = 0; i < samples; ++i) {
        m_samples[static_cast<std::size_t>(i)] =
            le::sample(input + 2 * static_cast<std::ptrdiff_t>(i));
    }
    encodeSamples(m_samples.data(), frames, isLast);
    // A library may go on after a failed write: the file must not pass as whole.
    m_target->raiseIfFailed();
    inputLength = isLast ? 0 : inputLength - frames * m_frameBytes;
}

void CallbackCodec::finish()
{
    const std::string failure = finishEncoder();
    m_samples = {};
    const std::unique_ptr<CallbackTarget> target = std::move(m_target);
    if (target) {
        target->close();
    }
    if (!failure.empty()) {
        throw RecException(failure);
    }
}

void CallbackCodec::raiseFailure(const std::string& message) const
{
    if (m_target) {
        m_target->raiseIfFailed();
    }
    throw RecException(message);
}

} // namespace sorvella
