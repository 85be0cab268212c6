#include "save/TargetSettings.h"

#include "platform/settings/SettingsStore.h"
#include "save/CodecCatalogue.h"

namespace sorvella {

namespace {

constexpr std::string_view kTargetFile = "Target File";
constexpr std::string_view kTargetFileType = "Target File Type";
constexpr std::string_view kTargetFileCodec = "Target File Codec";

} // namespace

void loadTarget(const SettingsStore& store, const CodecCatalogue& catalogue, SaveTarget& target)
{
    const std::int32_t previousCodecNumber = target.codecNumber;
    store.readString(kDefaultSettingsSection, kTargetFile, target.fileName);
    store.readInt(kDefaultSettingsSection, kTargetFileType, target.formatNumber);
    store.readInt(kDefaultSettingsSection, kTargetFileCodec, target.codecNumber);
    target.codecFormat.reset();
    if (std::unique_ptr<Codec> codec = catalogue.createCodec(target.codecNumber)) {
        target.codec = std::move(codec);
    } else if (target.codecNumber != previousCodecNumber) {
        // The old codec would encode another codec's format numbers.
        target.codec.reset();
    }
}

void saveTarget(SettingsStore& store, const SaveTarget& target)
{
    store.writeString(kDefaultSettingsSection, kTargetFile, target.fileName);
    store.writeInt(kDefaultSettingsSection, kTargetFileType, target.formatNumber);
    store.writeInt(kDefaultSettingsSection, kTargetFileCodec, target.codecNumber);
}

} // namespace sorvella
