#include "save/Codec.h"

#include "core/Prompter.h"
#include "core/RecException.h"
#include "platform/files/TargetFiles.h"
#include "save/CodecOptionsUi.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace sorvella {

namespace {

// Room for an 18-byte format record and the codec data behind it.
constexpr std::int32_t kFormatBufferSize = 1800;
constexpr std::int32_t kOutputMargin = 10000;
// close hands the codec a last block of at least this many zero bytes.
constexpr std::int32_t kLastBlockMinimum = 4;

const char* const kWriteFailed = "Write failed. Disk full?";

} // namespace

std::string Codec::extension() const
{
    return "mp3";
}

void Codec::saveSettings(SettingsStore&) const {}

void Codec::loadSettings(const SettingsStore&) {}

void Codec::configure(CodecOptionsUi& ui)
{
    ui.prompter().ask("This Codec does not have configurable options.", std::string(),
                      Prompter::Buttons::Ok, Prompter::Icon::None);
}

Codec::~Codec() = default;

void Codec::buffersAllocated(std::uint8_t*, std::int32_t, std::uint8_t*, std::int32_t) {}

void Codec::buffersReleasing(std::uint8_t*, std::int32_t, std::uint8_t*, std::int32_t) {}

bool Codec::writesOwnFile() const
{
    return false;
}

void Codec::open(TargetFiles& files, std::int32_t formatNumber, const WaveFormat& inputFormat,
                 const std::string& fileName)
{
    m_fileName = fileName;
    m_targetFiles = &files;
    m_targetFull = false;
    m_bytesWritten = 0;
    if (!writesOwnFile()) {
        m_file = files.create(fileName);
        if (!m_file) {
            throw RecException("Cannot open file: " + fileName);
        }
    }
    try {
        start(formatNumber, inputFormat);
    } catch (const RecException&) {
        m_file.reset();
        throw;
    }
    m_fill = 0;
    m_isOpen = true;
    m_inputBuffer.clear();
    m_outputBuffer.clear();
    try {
        m_inputSize = inputBlockSize(formatNumber, inputFormat);
        // A smaller block could not hold the last block (and with 0 bytes the
        // save would never end); a larger one leaves no room for the margin.
        if (m_inputSize < kLastBlockMinimum ||
            m_inputSize > std::numeric_limits<std::int32_t>::max() - kOutputMargin) {
            throw RecException("Codec error: invalid block size");
        }
        m_inputBuffer.assign(static_cast<std::size_t>(m_inputSize), 0);
        m_outputSize = m_inputSize + kOutputMargin;
        m_outputBuffer.assign(static_cast<std::size_t>(m_outputSize), 0);
        buffersAllocated(m_inputBuffer.data(), m_inputSize, m_outputBuffer.data(), m_outputSize);
    } catch (const RecException&) {
        // The codec stays open: the owner's close then only finishes it.
        m_file.reset();
        throw;
    }
}

void Codec::write(const std::uint8_t* data, std::size_t length, bool isLast)
{
    if (!m_isOpen || m_inputBuffer.empty()) {
        return;
    }
    while (true) {
        if (length == 0 && !isLast) {
            return;
        }
        const std::size_t n = std::min(length, static_cast<std::size_t>(m_inputSize - m_fill));
        if (n > 0) {
            std::memcpy(m_inputBuffer.data() + m_fill, data, n);
            data += n;
            length -= n;
            m_fill += static_cast<std::int32_t>(n);
        }
        // A full block waits for more data: only then is it known not to be
        // the last one.
        if (length == 0 && !isLast) {
            return;
        }
        if (isLast) {
            if (m_fill == 0 && length == 0) {
                m_fill = kLastBlockMinimum;
                std::fill_n(m_inputBuffer.begin(), kLastBlockMinimum, 0);
            }
            std::fill(m_inputBuffer.begin() + m_fill, m_inputBuffer.end(), 0);
        }
        std::int32_t inputLength = m_fill;
        std::int32_t outputLength = m_outputSize;
        encode(m_inputBuffer.data(), inputLength, m_outputBuffer.data(), outputLength, isLast);
        // A codec that takes nothing of a full block would be handed it again
        // and again.
        const bool stuck = !isLast && inputLength == m_inputSize;
        if (inputLength < 0 || inputLength > m_fill || outputLength < 0 ||
            outputLength > m_outputSize || stuck) {
            throw RecException("Codec error: invalid block lengths");
        }
        if (writesOwnFile()) {
            m_bytesWritten += m_fill - inputLength;
        } else {
            writeOutput(outputLength);
        }
        if (inputLength != 0 && !isLast) {
            std::memmove(m_inputBuffer.data(), m_inputBuffer.data() + (m_fill - inputLength),
                         static_cast<std::size_t>(inputLength));
            m_fill = inputLength;
        } else {
            m_fill = 0;
        }
        if (isLast && length == 0) {
            return;
        }
    }
}

void Codec::writeOutput(std::int32_t outputLength)
{
    const std::int64_t written =
        m_file ? m_file->write(m_outputBuffer.data(), static_cast<std::size_t>(outputLength)) : -1;
    m_bytesWritten += std::max<std::int64_t>(written, 0);
    if (written == outputLength) {
        return;
    }
    m_targetFull = true;
    try {
        close();
    } catch (const RecException&) {
        // The short write below is what the caller must hear of.
    }
    throw RecException(kWriteFailed);
}

void Codec::close()
{
    // Open, but nothing to encode into or to write to: only finish.
    if (m_isOpen && (m_inputBuffer.empty() || (!m_file && !writesOwnFile()))) {
        m_isOpen = false;
        finish();
        return;
    }
    std::optional<RecException> failure;
    const auto remember = [&failure](auto&& step) {
        try {
            step();
        } catch (const RecException& e) {
            if (!failure) {
                failure = e;
            }
        }
    };
    if (m_isOpen) {
        // After a short write the disk takes nothing more: no last block, so
        // a close inside that write's handling does not nest further.
        if (!m_targetFull) {
            remember([this] { write(nullptr, 0, true); });
        }
        if (m_isOpen) {
            remember([this] {
                buffersReleasing(m_inputBuffer.data(), m_inputSize, m_outputBuffer.data(),
                                 m_outputSize);
            });
            remember([this] { finish(); });
        }
        m_isOpen = false;
    }
    if (m_file) {
        const bool closed = m_file->close();
        m_file.reset();
        if (!closed && !failure) {
            failure = RecException(kWriteFailed);
        }
    }
    if (failure) {
        throw *failure;
    }
}

std::string Codec::queryFormat(std::int32_t formatNumber, const WaveFormat& inputFormat,
                               std::optional<WaveFormat>* outputFormat)
{
    if (outputFormat != nullptr) {
        outputFormat->reset();
    }
    WaveFormat buffer{0, 0, 0, 0, 0, 0, {}};
    std::string label = describeFormat(formatNumber, inputFormat, buffer, kFormatBufferSize);
    if (outputFormat != nullptr) {
        *outputFormat = std::move(buffer);
    }
    return label;
}

void Codec::test()
{
    queryFormat(1, WaveFormat{});
}

} // namespace sorvella
