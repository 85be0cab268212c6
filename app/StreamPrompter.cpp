#include "app/StreamPrompter.h"

namespace sorvella {

Prompter::Answer StreamPrompter::ask(const std::string& text, const std::string& caption,
                                     Buttons buttons, Icon)
{
    if (!caption.empty()) {
        m_out << caption << ": ";
    }
    m_out << text << std::endl;
    if (buttons == Buttons::Ok) {
        return Answer::Ok;
    }
    return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

} // namespace sorvella
