#pragma once

#include "core/Prompter.h"

#include <ostream>

namespace sorvella {

// Message boxes for a run without a display: each box becomes the line
// "caption: text" (or the text alone) on the stream, and the answer is the one that asks nothing
// more of anybody (OK for a plain box, else Cancel or No).
class StreamPrompter : public Prompter {
public:
    explicit StreamPrompter(std::ostream& out) : m_out(out) {}

    Answer ask(const std::string& text, const std::string& caption, Buttons buttons,
               Icon icon) override;

private:
    std::ostream& m_out;
};

} // namespace sorvella
