#include "save/codecs/MP2Codec.h"

namespace sorvella {

MP2Codec::MP2Codec(std::shared_ptr<CompressionManager> manager)
    : MP3Codec(std::move(manager), kFormatTagMpeg, false, 1)
{
}

std::string MP2Codec::extension() const
{
    return "mp2";
}

void MP2Codec::saveSettings(SettingsStore&) const {}

void MP2Codec::loadSettings(const SettingsStore&) {}

// There is no system codec panel to send the user to.
void MP2Codec::configure(CodecOptionsUi& ui)
{
    Codec::configure(ui);
}

std::string MP2Codec::description() const
{
    return "MP2 ACM Codec";
}

std::string MP2Codec::fileTypeName() const
{
    return "MP2 format via codec";
}

std::unique_ptr<Codec> MP2Codec::clone() const
{
    return std::make_unique<MP2Codec>(*this);
}

} // namespace sorvella
