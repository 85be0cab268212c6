#pragma once

#include "save/CodecOptionsUi.h"

class QWidget;

namespace sorvella {

// The codecs' option dialogs as modal Qt dialogs over `parent`.
class QtCodecOptionsUi final : public CodecOptionsUi {
public:
    QtCodecOptionsUi(QWidget* parent, Prompter& prompter) : m_parent(parent), m_prompter(prompter)
    {
    }

    Prompter& prompter() override { return m_prompter; }
    bool editMp3Options(bool& quickCompression) override;
    bool editWmaOptions(std::int32_t& extension) override;

private:
    QWidget* m_parent;
    Prompter& m_prompter;
};

} // namespace sorvella
