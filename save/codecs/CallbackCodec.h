#pragma once

#include "save/Codec.h"
#include "save/codecs/CallbackTarget.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sorvella {

// The base of a codec whose encoder library writes the target itself through
// callbacks over a CallbackTarget. It validates the format before the target
// is opened (through describeFormat), hands the library 16-bit samples, raises
// a write that fell short once the library call has returned, and closes the
// target after the encoder has ended.
class CallbackCodec : public Codec {
public:
    // The codec's texts in the catalogue and the file dialog.
    struct Names {
        const char* extension;
        const char* description;
        const char* fileTypeName;
    };

    ~CallbackCodec() override;

    std::string extension() const override;
    std::string description() const override;
    std::string fileTypeName() const override;
    bool writesOwnFile() const override;

protected:
    explicit CallbackCodec(const Names& names);
    // A clone starts closed: the derived codecs have no settings.
    CallbackCodec(const CallbackCodec& other);

    std::int32_t inputBlockSize(std::int32_t formatNumber, const WaveFormat& inputFormat) override;
    void start(std::int32_t formatNumber, const WaveFormat& inputFormat) override;
    void encode(const std::uint8_t* input, std::int32_t& inputLength, std::uint8_t* output,
                std::int32_t& outputLength, bool isLast) override;
    void finish() override;

    // --- Hooks of a derived codec ---

    // Sets up the encoder over the open `target`; raises when it refuses.
    virtual void startEncoder(std::int32_t formatNumber, const WaveFormat& inputFormat,
                              CallbackTarget& target) = 0;
    // Encodes `frames` interleaved frames; with `isLast` the stream ends.
    virtual void encodeSamples(const std::int16_t* samples, std::int32_t frames, bool isLast) = 0;
    // Ends the encoder and frees it. Returns the failure to report, or empty.
    virtual std::string finishEncoder() = 0;

    // Raises "Write failed. Disk full?" after a short write, else `message`.
    [[noreturn]] void raiseFailure(const std::string& message) const;

private:
    Names m_names;
    std::unique_ptr<CallbackTarget> m_target;
    std::vector<std::int16_t> m_samples;
    std::int32_t m_frameBytes = 0;
};

} // namespace sorvella
