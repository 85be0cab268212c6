#pragma once

#include "platform/compression/CompressionDriver.h"
#include "platform/compression/CompressionManager.h"

#include <memory>
#include <vector>

namespace sorvella {

// The compression manager over a list of drivers: it picks the driver by
// format tag, lists formats in driver order, and keeps the streams' header
// rules (prepared headers, whole source blocks) so that drivers only encode.
class DriverCompressionManager final : public CompressionManager {
public:
    explicit DriverCompressionManager(std::vector<std::shared_ptr<CompressionDriver>> drivers);

    std::int32_t formatEnum(FormatDetails& details, const FormatEnumCallback& callback,
                            std::uint32_t flags) override;
    std::int32_t streamOpen(std::unique_ptr<CompressionStream>& stream, const WaveFormat& source,
                            const WaveFormat& destination, std::uint32_t flags) override;

private:
    std::vector<std::shared_ptr<CompressionDriver>> m_drivers;
};

} // namespace sorvella
