#pragma once

#include "save/CodecCatalogue.h"
#include "tests/save/RecordingCodec.h"

#include <string>

namespace sorvella::test {

// A catalogue entry that makes a RecordingCodec with `formatCount` formats
// (0: its test fails).
inline CodecCatalogue::Factory recordingCodec(const std::string& name, std::int32_t formatCount)
{
    return [name, formatCount] {
        auto made = std::make_unique<RecordingCodec>(name);
        made->formatCount = formatCount;
        return made;
    };
}

} // namespace sorvella::test
