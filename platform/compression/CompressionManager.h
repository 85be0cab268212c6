#pragma once

#include "core/WaveFormat.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace sorvella {

// The system's audio compression manager: the installed encoders, found by
// the format tag they write, with the format list each offers and conversion
// streams from 16-bit PCM. Results are the manager's codes below (0 success).

// Results.
inline constexpr std::int32_t kAcmOk = 0;
inline constexpr std::int32_t kAcmError = 1;
inline constexpr std::int32_t kAcmInvalidHandle = 5;
inline constexpr std::int32_t kAcmInvalidParameter = 11;
inline constexpr std::int32_t kAcmNotPossible = 512;
inline constexpr std::int32_t kAcmUnprepared = 514;

// Format tags of the MPEG audio encoders.
inline constexpr std::uint16_t kFormatTagMpeg = 80;       // MPEG layers 1 and 2
inline constexpr std::uint16_t kFormatTagMpegLayer3 = 85; // MPEG layer 3

// formatEnum: which fields of the query format (`format` on entry) restrict
// the list.
inline constexpr std::uint32_t kEnumByFormatTag = 0x10000;
inline constexpr std::uint32_t kEnumByChannels = 0x20000;
inline constexpr std::uint32_t kEnumBySampleRate = 0x40000;

// streamOpen: the caller does not need the conversion to keep up with real
// time (a driver that cannot convert in real time then accepts).
inline constexpr std::uint32_t kOpenNonRealTime = 4;

// convert: take only whole source blocks; end of the stream (convert all and
// drain the encoder).
inline constexpr std::uint32_t kConvertBlockAlign = 4;
inline constexpr std::uint32_t kConvertEnd = 0x20;

// One format while the manager lists them.
struct FormatDetails {
    // The query on entry and each reported format in turn; at least `formatSize`
    // bytes (18 plus its extra bytes) must fit a reported format.
    WaveFormat* format = nullptr;
    std::int32_t formatSize = 0;
    // The reported format's description, such as "128 kBit/s, 44100 Hz, Stereo".
    std::string description;
};

// Called for each format; false stops the listing.
using FormatEnumCallback = std::function<bool(const FormatDetails&)>;

// The source and destination buffers of a stream's conversions. Prepared once
// for its buffers; between prepare and unprepare the buffers must stay where
// they are and hold at least the prepared lengths.
struct StreamHeader {
    const std::uint8_t* source = nullptr;
    std::uint32_t sourceLength = 0;
    std::uint32_t sourceUsed = 0;
    std::uint8_t* destination = nullptr;
    std::uint32_t destinationLength = 0;
    std::uint32_t destinationUsed = 0;
    // Set by prepareHeader, cleared by unprepareHeader.
    bool prepared = false;
};

// One conversion stream. Used by one thread at a time; every call blocks
// until it is done. Destroying a stream that was not closed closes it and
// drops what the encoder still holds.
class CompressionStream {
public:
    virtual ~CompressionStream() = default;

    // Prepares `header` for this stream (its current buffers and lengths).
    virtual std::int32_t prepareHeader(StreamHeader& header) = 0;

    // Converts the first sourceLength bytes at source (at most the prepared
    // length) into at most destinationLength bytes at destination, setting the used
    // lengths. Source bytes that were not used (a part of a block, or what
    // did not fit the destination) are for the caller to hand over again.
    // With kConvertEnd everything that can be converted is, and the
    // encoder's last bytes follow: the stream takes no further data.
    // kAcmUnprepared for a header not prepared for this stream.
    virtual std::int32_t convert(StreamHeader& header, std::uint32_t flags) = 0;

    // Releases the header's preparation.
    virtual std::int32_t unprepareHeader(StreamHeader& header) = 0;

    // Ends the stream; nothing follows. Non-zero when the encoder reports a
    // failure at its end (the stream is closed all the same).
    virtual std::int32_t close() = 0;
};

// The manager. Any thread; each call blocks until done.
class CompressionManager {
public:
    virtual ~CompressionManager() = default;

    // Lists the installed formats that match the query in *details.format for
    // the fields named in `flags`, writing each into *details.format (and its
    // description into details.description) before calling `callback` with it,
    // on the calling thread, until the callback returns false. Formats come
    // in a fixed order. kAcmOk also when nothing matched.
    virtual std::int32_t formatEnum(FormatDetails& details, const FormatEnumCallback& callback,
                                    std::uint32_t flags) = 0;

    // Opens a stream from 16-bit PCM `source` to `destination` (a format the
    // manager listed). kAcmNotPossible when no driver converts between
    // them, or when the caller asks for real time (no kOpenNonRealTime)
    // and the driver cannot promise it. `stream` is set only on success.
    virtual std::int32_t streamOpen(std::unique_ptr<CompressionStream>& stream,
                                    const WaveFormat& source, const WaveFormat& destination,
                                    std::uint32_t flags) = 0;
};

} // namespace sorvella
