#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace sorvella::test {

// An Ogg file taken apart: its pages and the packets they carry.
struct OggStream {
    static constexpr std::uint8_t kContinued = 0x01;
    static constexpr std::uint8_t kBeginning = 0x02;
    static constexpr std::uint8_t kEnd = 0x04;

    struct Page {
        std::uint8_t flags = 0;
        std::int64_t granule = 0;
        std::uint32_t serial = 0;
        // Whether the page's last packet goes on in the next page.
        bool endsInsidePacket = false;
    };

    std::vector<Page> pages;
    std::vector<std::vector<std::uint8_t>> packets;
    // The page on which each packet ends.
    std::vector<std::size_t> packetPage;
    // False when the bytes are not a sequence of whole pages.
    bool whole = true;

    static OggStream parse(const std::vector<std::uint8_t>& bytes)
    {
        OggStream stream;
        std::vector<std::uint8_t> packet;
        std::size_t at = 0;
        while (at < bytes.size()) {
            if (at + 27 > bytes.size() || std::memcmp(bytes.data() + at, "OggS", 4) != 0) {
                stream.whole = false;
                return stream;
            }
            Page page;
            page.flags = bytes[at + 5];
            std::memcpy(&page.granule, bytes.data() + at + 6, 8);
            std::memcpy(&page.serial, bytes.data() + at + 14, 4);
            const std::size_t segments = bytes[at + 26];
            std::size_t body = at + 27 + segments;
            if (body > bytes.size()) {
                stream.whole = false;
                return stream;
            }
            for (std::size_t s = 0; s < segments; ++s) {
                const std::size_t length = bytes[at + 27 + s];
                if (body + length > bytes.size()) {
                    stream.whole = false;
                    return stream;
                }
                packet.insert(packet.end(), bytes.begin() + static_cast<std::ptrdiff_t>(body),
                              bytes.begin() + static_cast<std::ptrdiff_t>(body + length));
                body += length;
                page.endsInsidePacket = length == 255;
                if (length < 255) {
                    stream.packets.push_back(std::move(packet));
                    stream.packetPage.push_back(stream.pages.size());
                    packet.clear();
                }
            }
            stream.pages.push_back(page);
            at = body;
        }
        return stream;
    }
};

} // namespace sorvella::test
