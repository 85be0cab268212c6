#pragma once

#include "platform/files/FreeSpace.h"

namespace sorvella {

// FreeSpace over statvfs: the blocks available to unprivileged users times
// the fragment size. Stateless.
class StatvfsFreeSpace : public FreeSpace {
public:
    std::optional<std::int64_t> available(const std::string& path) const override;
};

} // namespace sorvella
