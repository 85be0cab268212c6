#include "engine/StoreJournal.h"

#include "engine/StoreBlock.h"

#include <charconv>
#include <sstream>

namespace sorvella {

namespace {

// The words of one line; the numbers parsed strictly.
class Line {
public:
    explicit Line(std::string_view text) : m_rest(text) {}

    std::string_view word()
    {
        while (!m_rest.empty() && m_rest.front() == ' ') {
            m_rest.remove_prefix(1);
        }
        const std::size_t end = std::min(m_rest.find(' '), m_rest.size());
        const std::string_view word = m_rest.substr(0, end);
        m_rest.remove_prefix(end);
        return word;
    }

    template <typename T> bool number(T& value)
    {
        const std::string_view text = word();
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return !text.empty() && error == std::errc() && end == text.data() + text.size();
    }

    std::string_view rest() const { return m_rest.empty() ? m_rest : m_rest.substr(1); }
    bool done() { return word().empty(); }

private:
    std::string_view m_rest;
};

bool parseFormat(Line& line, WaveFormat& format)
{
    std::uint32_t rate = 0;
    std::uint16_t channels = 0;
    std::uint16_t bits = 0;
    if (!line.number(rate) || !line.number(channels) || !line.number(bits) || !line.done() ||
        rate == 0 || (channels != 1 && channels != 2) || bits != 16) {
        return false;
    }
    format.samplesPerSec = rate;
    format.channels = channels;
    format.bitsPerSample = bits;
    format.deriveFields();
    return true;
}

// A run of blocks: all full but the last.
bool parseRun(Line& line, std::vector<JournalBlock>& blocks)
{
    std::uint64_t first = 0;
    std::uint64_t count = 0;
    std::uint32_t lastFill = 0;
    if (!line.number(first) || !line.number(count) || !line.number(lastFill) || !line.done() ||
        count == 0 || count > StoreJournal::kMaxBlocks - blocks.size() ||
        lastFill > StoreBlock::kSize) {
        return false;
    }
    for (std::uint64_t k = 0; k < count; ++k) {
        const bool last = k + 1 == count;
        blocks.push_back(
            {first + k, last ? lastFill : static_cast<std::uint32_t>(StoreBlock::kSize)});
    }
    return true;
}

} // namespace

std::string StoreJournal::text() const
{
    std::ostringstream out;
    out << kHeader << ' ' << kVersion << '\n'
        << "format " << format.samplesPerSec << ' ' << format.channels << ' '
        << format.bitsPerSample << '\n'
        << "start " << startMs << '\n'
        << "skipped " << skippedBytes << '\n';
    if (!target.empty()) {
        out << "target " << target << '\n';
    }
    for (std::size_t k = 0; k < blocks.size();) {
        std::size_t end = k + 1;
        while (end < blocks.size() && blocks[end - 1].fill == StoreBlock::kSize &&
               blocks[end].index == blocks[end - 1].index + 1) {
            ++end;
        }
        out << "blocks " << blocks[k].index << ' ' << end - k << ' ' << blocks[end - 1].fill
            << '\n';
        k = end;
    }
    out << "end\n";
    return out.str();
}

StoreJournal::Parsed StoreJournal::parse(std::string_view text)
{
    Parsed parsed;
    const std::string header = std::string(kHeader) + ' ';
    if (text.substr(0, header.size()) != header) {
        parsed.problem = text.empty() ? "The journal is empty." : "The journal is not Sorvella's.";
        return parsed;
    }
    bool formatSeen = false;
    bool ended = false;
    std::size_t lineNumber = 0;
    while (!text.empty() && !ended) {
        const std::size_t eol = text.find('\n');
        if (eol == std::string_view::npos) {
            break; // a line without its end: cut while being written
        }
        Line line(text.substr(0, eol));
        text.remove_prefix(eol + 1);
        const std::string_view key = line.word();
        bool good = true;
        if (lineNumber++ == 0) {
            int version = 0;
            line.word(); // "journal"
            if (!line.number(version) || version != kVersion) {
                parsed.problem = "The journal was written by another version of Sorvella.";
                return parsed;
            }
        } else if (key == "format") {
            good = formatSeen = parseFormat(line, parsed.journal.format);
        } else if (key == "start") {
            good = line.number(parsed.journal.startMs) && line.done();
        } else if (key == "skipped") {
            good = line.number(parsed.journal.skippedBytes) && line.done() &&
                   parsed.journal.skippedBytes >= 0;
        } else if (key == "target") {
            parsed.journal.target = std::string(line.rest());
        } else if (key == "blocks") {
            good = parseRun(line, parsed.journal.blocks);
        } else if (key == "end") {
            ended = true;
        } else {
            good = false;
        }
        if (!good) {
            parsed.problem = "The journal has a line that cannot be read.";
            break;
        }
    }
    parsed.usable = formatSeen;
    if (!formatSeen) {
        parsed.problem = "The journal does not name the recording's format.";
    } else if (!ended && parsed.problem.empty()) {
        parsed.problem = "The journal ends early.";
    }
    return parsed;
}

} // namespace sorvella
