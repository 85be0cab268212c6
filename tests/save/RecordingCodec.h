#pragma once

#include "core/RecException.h"
#include "platform/settings/SettingsStore.h"
#include "save/Codec.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace sorvella::test {

// A codec that records what the base hands it. Its encoding copies the bytes
// it takes to the output; of each block it leaves `leaveUnconsumed` bytes.
// The optional failures are raised by the operation they are named after.
class RecordingCodec : public Codec {
public:
    struct Block {
        std::vector<std::uint8_t> bytes; // the `inputLength` bytes handed over
        std::vector<std::uint8_t> rest;  // the buffer after them
        bool isLast = false;
    };

    explicit RecordingCodec(std::string name = "Recording Codec") : m_name(std::move(name)) {}

    // Settings.
    std::int32_t blockSize = 8;
    std::int32_t leaveUnconsumed = 0;
    // Added to the output length the codec reports (to fake a faulty codec).
    std::int32_t extraOutputReported = 0;
    bool ownFile = false;
    std::int32_t formatCount = 2;
    std::optional<RecException> startFailure;
    std::optional<RecException> buffersAllocatedFailure;
    std::optional<RecException> finishFailure;
    std::optional<RecException> loadSettingsFailure;

    // What was asked.
    std::vector<Block> blocks;
    int startCalls = 0;
    int finishCalls = 0;
    int releasingCalls = 0;
    std::int32_t loadedSetting = 0;
    std::int32_t describedNumber = 0;
    WaveFormat describedInput;
    WaveFormat describedBufferOnEntry;
    std::int32_t describedBufferSize = 0;

    std::string extension() const override { return "rec"; }
    void loadSettings(const SettingsStore& settings) override
    {
        raiseIf(loadSettingsFailure);
        settings.readInt(kDefaultSettingsSection, "Recording Codec Setting", loadedSetting);
    }
    std::string description() const override { return m_name; }
    std::string fileTypeName() const override { return m_name + " Format"; }
    std::unique_ptr<Codec> clone() const override
    {
        return std::make_unique<RecordingCodec>(*this);
    }
    bool writesOwnFile() const override { return ownFile; }

protected:
    std::int32_t inputBlockSize(std::int32_t, const WaveFormat&) override { return blockSize; }

    void finish() override
    {
        ++finishCalls;
        raiseIf(finishFailure);
    }

    void encode(const std::uint8_t* input, std::int32_t& inputLength, std::uint8_t* output,
                std::int32_t& outputLength, bool isLast) override
    {
        blocks.push_back(
            {{input, input + inputLength}, {input + inputLength, input + blockSize}, isLast});
        const std::int32_t left = std::min(leaveUnconsumed, inputLength);
        std::copy(input, input + (inputLength - left), output);
        outputLength = inputLength - left + extraOutputReported;
        inputLength = left;
    }

    void start(std::int32_t, const WaveFormat&) override
    {
        ++startCalls;
        raiseIf(startFailure);
    }

    std::string describeFormat(std::int32_t formatNumber, const WaveFormat& inputFormat,
                               WaveFormat& formatBuffer, std::int32_t bufferSize) override
    {
        describedNumber = formatNumber;
        describedInput = inputFormat;
        describedBufferOnEntry = formatBuffer;
        describedBufferSize = bufferSize;
        if (formatNumber < 1 || formatNumber > formatCount) {
            throw RecException("Recording codec: no such format");
        }
        formatBuffer.formatTag = 85;
        formatBuffer.channels = inputFormat.channels;
        formatBuffer.avgBytesPerSec = 1000U * static_cast<std::uint32_t>(formatNumber);
        formatBuffer.extra = {1, 2, 3};
        return "REC [" + std::to_string(formatNumber) + "]";
    }

    void buffersAllocated(std::uint8_t*, std::int32_t, std::uint8_t*, std::int32_t) override
    {
        raiseIf(buffersAllocatedFailure);
    }

    void buffersReleasing(std::uint8_t*, std::int32_t, std::uint8_t*, std::int32_t) override
    {
        ++releasingCalls;
    }

private:
    static void raiseIf(const std::optional<RecException>& failure)
    {
        if (failure) {
            throw *failure;
        }
    }

    std::string m_name;
};

} // namespace sorvella::test
