#include "platform/compression/SystemCompressionManager.h"

#include "platform/compression/DriverCompressionManager.h"

#if SORVELLA_HAVE_LAME
#include "platform/compression/LameCompressionDriver.h"
#endif
#if SORVELLA_HAVE_TWOLAME
#include "platform/compression/TwoLameCompressionDriver.h"
#endif

namespace sorvella {

// The one place where drivers are installed: a build without an encoder
// library has no driver for its format tag.
std::shared_ptr<CompressionManager> systemCompressionManager()
{
    std::vector<std::shared_ptr<CompressionDriver>> drivers;
#if SORVELLA_HAVE_LAME
    drivers.push_back(std::make_shared<LameCompressionDriver>());
#endif
#if SORVELLA_HAVE_TWOLAME
    drivers.push_back(std::make_shared<TwoLameCompressionDriver>());
#endif
    return std::make_shared<DriverCompressionManager>(std::move(drivers));
}

} // namespace sorvella
