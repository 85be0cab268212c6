#include "app/CompressedTarget.h"

#include "core/RecException.h"
#include "save/Codec.h"
#include "save/CodecCatalogue.h"
#include "save/TargetRecord.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

namespace sorvella {
namespace {

// The catalogue numbers the search tries after the current codec, and the
// format numbers it tries of each codec.
constexpr std::int32_t kLastCodecNumber = 99;
constexpr std::int32_t kLastFormatNumber = 999;

constexpr std::uint32_t kBitsPerByte = 8;

constexpr std::array<std::string_view, 7> kCompressedSuffixes{".mp3", ".mp2",  ".ogg", ".asf",
                                                              ".wma", ".flac", ".opus"};

// The last `count` characters (all of a shorter name) in lower case.
std::string lastLowered(std::string_view name, std::size_t count)
{
    std::string tail(name.substr(name.size() - std::min(count, name.size())));
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail;
}

// Whether the name ends in "." and the codec's extension, in any case.
bool hasExtension(std::string_view name, const Codec& codec)
{
    const std::string extension = codec.extension();
    return lastLowered(name, extension.size() + 1) == "." + extension;
}

bool bitrateMatches(const WaveFormat& output, const WaveFormat& source, std::int32_t bitrate)
{
    if (bitrate == kAnyBitrate) {
        return true;
    }
    const std::uint64_t bits = std::uint64_t{output.avgBytesPerSec} * kBitsPerByte;
    const auto wanted = static_cast<std::uint64_t>(bitrate);
    // A lossless format states no bit rate: no wanted rate selects it.
    return bits > 0 && (bits / 1000 == wanted || bits / 1024 == wanted) &&
           output.channels == source.channels;
}

// The first format of the target's codec that fits, selected with the name;
// false when the codec has none.
bool selectFittingFormat(SaveTarget& target, const std::string& fileName, std::int32_t bitrate)
{
    for (std::int32_t number = 1; number <= kLastFormatNumber; ++number) {
        std::optional<WaveFormat> output;
        try {
            target.codec->queryFormat(number, target.sourceFormat, &output);
        } catch (const RecException&) {
            return false; // past the codec's last format
        }
        if (output && bitrateMatches(*output, target.sourceFormat, bitrate)) {
            setFileName(target, fileName, number);
            return true;
        }
    }
    return false;
}

bool searchCodecs(SaveTarget& target, const std::string& fileName, std::int32_t bitrate,
                  const CodecCatalogue& catalogue)
{
    for (std::int32_t number = 0; number <= kLastCodecNumber; ++number) {
        if (number > 0) {
            std::unique_ptr<Codec> made = catalogue.createCodec(number);
            if (!made) {
                continue;
            }
            target.codec = std::move(made);
            target.codecNumber = number;
        }
        if (target.codec && hasExtension(fileName, *target.codec) &&
            selectFittingFormat(target, fileName, bitrate)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool isCompressedName(std::string_view name)
{
    return std::ranges::any_of(kCompressedSuffixes, [name](std::string_view suffix) {
        return name.size() > suffix.size() && lastLowered(name, suffix.size()) == suffix;
    });
}

void selectCompressedTarget(SaveTarget& target, const std::string& fileName, std::int32_t bitrate,
                            const CodecCatalogue& catalogue, Prompter& prompter)
{
    if (bitrate == kAnyBitrate && target.codec && hasExtension(fileName, *target.codec)) {
        setFileName(target, fileName, 0);
        return;
    }
    const SaveTarget before = target;
    if (searchCodecs(target, fileName, bitrate, catalogue)) {
        return;
    }
    target = before;
    prompter.ask("Error: Selected Compression-Format not available", "Error parsing options",
                 Prompter::Buttons::Ok, Prompter::Icon::None);
    setFileName(target, fileName, 0);
}

} // namespace sorvella
