#include "save/TargetRecord.h"

#include "core/RecException.h"
#include "save/Codec.h"
#include "save/FileNameTemplate.h"
#include "save/OptionalCodec.h"
#include "save/TargetPath.h"

namespace sorvella {

SaveTarget copyTarget(const SaveTarget& target)
{
    SaveTarget copy = target;
    copy.codecFormat.reset();
    copy.codec = target.codec ? std::shared_ptr<Codec>(target.codec->clone()) : nullptr;
    return copy;
}

const WaveFormat& codecFormat(SaveTarget& target)
{
    for (; target.formatNumber > 0; --target.formatNumber) {
        try {
            target.formatLabel = queryCodecFormat(target.codec.get(), target.formatNumber,
                                                  target.sourceFormat, &target.codecFormat);
            return *target.codecFormat;
        } catch (const RecException&) {
            // Not a format of this codec (any more): try the one below.
        }
    }
    target.codecFormat.reset();
    return target.sourceFormat;
}

void setFileName(SaveTarget& target, const std::string& name)
{
    target.fileName = normaliseFileName(name);
    target.formatNumber = 0;
}

void setFileName(SaveTarget& target, const std::string& name, std::int32_t formatNumber)
{
    target.fileName = normaliseFileName(name);
    if (formatNumber != 0) {
        target.formatNumber = formatNumber;
    }
    if (target.formatNumber <= 0) {
        target.formatNumber = 1;
    }
}

void applyTimes(SaveTarget& target, std::int64_t start, std::int64_t end)
{
    // Normalised before the number search, so that the search looks where
    // the file will be written ("~/" and "\" mean nothing to the file system).
    target.fileName = expandTemplate(normaliseFileName(target.fileName), start, end);
}

bool targetExists(const SaveTarget& target)
{
    return nameExists(target.fileName);
}

bool formatUsable(const SaveTarget& target)
{
    if (target.formatNumber == 0) {
        return true;
    }
    try {
        queryCodecFormat(target.codec.get(), target.formatNumber, target.sourceFormat);
        return true;
    } catch (const RecException&) {
        return false;
    }
}

void nextFreeName(SaveTarget& target)
{
    while (targetExists(target)) {
        target.fileName = normaliseFileName(nextNumberedName(target.fileName));
    }
}

std::string targetSuffix(const SaveTarget& target)
{
    return "." +
           (target.formatNumber == 0 ? std::string("wav") : codecExtension(target.codec.get()));
}

} // namespace sorvella
