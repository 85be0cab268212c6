#pragma once

#include "core/WaveFormat.h"
#include "platform/files/TargetFiles.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sorvella {

class CodecOptionsUi;
class SettingsStore;

// The base of every compressed output format. It cuts the PCM stream that the
// save job hands over into blocks of the codec's size, has each full block
// encoded, writes the result to the target and runs the open/close protocol.
// A derived codec only converts blocks, describes its formats and keeps its
// own settings. Used by one thread at a time; raises RecException.
class Codec {
public:
    // Frees the buffers; does not finish the file (the owner closes first).
    virtual ~Codec();

    // --- A save's run: open, write, close ---

    // Opens the target (through `files`) and starts the codec. Whatever start
    // or buffersAllocated raise leaves here, after the file is closed.
    void open(TargetFiles& files, std::int32_t formatNumber, const WaveFormat& inputFormat,
              const std::string& fileName);
    // Buffers `length` bytes and encodes every block that more data follows.
    // The owner passes isLast false; close passes true. Nothing happens
    // unless the codec is open (and open went through).
    void write(const std::uint8_t* data, std::size_t length, bool isLast = false);
    // Encodes the rest, finishes the codec and closes the file; raises after
    // the file is closed.
    void close();
    // True between a successful start in open and the end of close.
    bool isOpen() const { return m_isOpen; }
    // True when the run ended with "Write failed. Disk full?": the target
    // holds what was written before the write that fell short.
    bool targetFull() const { return m_targetFull; }
    // What reached the target since open: the encoded bytes the file took,
    // or for a codec that writes its own file, the PCM bytes it took.
    std::int64_t bytesWritten() const { return m_bytesWritten; }

    // --- Formats ---

    // The label of a format and, when `outputFormat` is given, a copy of the
    // format. Raises what describeFormat raises; `outputFormat` is then empty.
    std::string queryFormat(std::int32_t formatNumber, const WaveFormat& inputFormat,
                            std::optional<WaveFormat>* outputFormat = nullptr);
    // Passes when the codec describes format 1 of 44100 Hz 16-bit stereo PCM;
    // raises otherwise.
    void test();

    // --- The codec in the catalogue ---

    // The codec's line in the catalogue.
    virtual std::string description() const = 0;
    // Name of the file type, for the target file dialog.
    virtual std::string fileTypeName() const = 0;
    // File extension without the dot.
    virtual std::string extension() const;
    // Write and read the codec's own options; the catalogue reads them right
    // after construction.
    virtual void saveSettings(SettingsStore& settings) const;
    virtual void loadSettings(const SettingsStore& settings);
    // Shows the codec's options.
    virtual void configure(CodecOptionsUi& ui);
    // A copy of the settings, closed, without buffers, file or encoder state.
    virtual std::unique_ptr<Codec> clone() const = 0;
    // True when the codec writes the target itself: the base then opens no
    // file and writes nothing.
    virtual bool writesOwnFile() const;

protected:
    Codec() = default;
    // The copy a clone starts from: nothing of the base is copied.
    Codec(const Codec&) : Codec() {}
    Codec& operator=(const Codec&) = delete;

    // --- Hooks of a derived codec, in the order a run calls them ---

    // Fills `formatBuffer` (all fields zero on entry) with output format
    // `formatNumber` (1-based) for that input, with at most `bufferSize` bytes
    // in all (18 + its extra bytes), and returns its label. Raises when the
    // codec has no such format: callers count up from 1 until it raises.
    virtual std::string describeFormat(std::int32_t formatNumber, const WaveFormat& inputFormat,
                                       WaveFormat& formatBuffer, std::int32_t bufferSize) = 0;
    // Size of one PCM block handed to encode; at least 4.
    virtual std::int32_t inputBlockSize(std::int32_t formatNumber,
                                        const WaveFormat& inputFormat) = 0;
    // Prepares the encoder for output format `formatNumber`.
    virtual void start(std::int32_t formatNumber, const WaveFormat& inputFormat) = 0;
    // Called once both buffers exist; they do not move until buffersReleasing.
    virtual void buffersAllocated(std::uint8_t* inputBuffer, std::int32_t inputSize,
                                  std::uint8_t* outputBuffer, std::int32_t outputSize);
    // Converts the `inputLength` bytes at `input` into at most `outputLength`
    // bytes at `output`. On return `inputLength` holds the number of bytes at
    // the end of the block that were not taken (they start the next block),
    // `outputLength` the number of bytes produced.
    virtual void encode(const std::uint8_t* input, std::int32_t& inputLength, std::uint8_t* output,
                        std::int32_t& outputLength, bool isLast) = 0;
    // Called at close, before finish.
    virtual void buffersReleasing(std::uint8_t* inputBuffer, std::int32_t inputSize,
                                  std::uint8_t* outputBuffer, std::int32_t outputSize);
    // Ends the encoder and releases its resources: the last call of a run.
    virtual void finish() = 0;

    // The target named at open, set before start: a codec that writes its own
    // file opens this one, through targetFiles().
    const std::string& fileName() const { return m_fileName; }
    // The files handed to open, which hold the target already: valid from
    // start until the end of close.
    TargetFiles& targetFiles() const { return *m_targetFiles; }

private:
    void writeOutput(std::int32_t outputLength);

    std::int32_t m_fill = 0;
    std::vector<std::uint8_t> m_inputBuffer;
    std::int32_t m_inputSize = 0;
    std::vector<std::uint8_t> m_outputBuffer;
    std::int32_t m_outputSize = 0;
    bool m_isOpen = false;
    std::unique_ptr<TargetFile> m_file;
    std::string m_fileName;
    TargetFiles* m_targetFiles = nullptr;
    bool m_targetFull = false;
    std::int64_t m_bytesWritten = 0;
};

} // namespace sorvella
