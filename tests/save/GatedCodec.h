#pragma once

#include "tests/save/Gate.h"
#include "tests/save/RecordingCodec.h"

#include <memory>

namespace sorvella::test {

// A codec that writes the PCM bytes as they come and holds its first
// encoding at a gate, so a test can keep a save busy inside its codec. Its
// clones (each save's own codec) share the gate.
class GatedCodec : public RecordingCodec {
public:
    explicit GatedCodec(std::shared_ptr<Gate> gate) : m_gate(std::move(gate)) { blockSize = 65536; }

    std::unique_ptr<Codec> clone() const override { return std::make_unique<GatedCodec>(*this); }

protected:
    void encode(const std::uint8_t* input, std::int32_t& inputLength, std::uint8_t* output,
                std::int32_t& outputLength, bool isLast) override
    {
        m_gate->pass();
        RecordingCodec::encode(input, inputLength, output, outputLength, isLast);
    }

private:
    std::shared_ptr<Gate> m_gate;
};

} // namespace sorvella::test
