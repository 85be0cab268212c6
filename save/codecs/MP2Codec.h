#pragma once

#include "save/codecs/MP3Codec.h"

namespace sorvella {

// MP2 through the compression manager's MPEG layer 2 driver, at the
// recording's rate only, without quick compression or options of its own.
class MP2Codec final : public MP3Codec {
public:
    explicit MP2Codec(std::shared_ptr<CompressionManager> manager);

    std::string extension() const override;
    void saveSettings(SettingsStore& settings) const override;
    void loadSettings(const SettingsStore& settings) override;
    void configure(CodecOptionsUi& ui) override;
    std::string description() const override;
    std::string fileTypeName() const override;
    std::unique_ptr<Codec> clone() const override;
};

} // namespace sorvella
