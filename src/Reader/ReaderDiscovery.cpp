#include "Reader/ReaderDiscovery.h"

#include <fmt/format.h>

#include "ProtocolFacade.h"
#include "Reader/ReaderException.h"

namespace Pyx
{
namespace
{
constexpr int kLineDiscoveryFailed = 19;
} // namespace

std::vector<PyxCommon::ReaderDefinition> ReaderDiscovery::DiscoverUsbReaders()
{
    std::vector<PyxCommon::ReaderDefinition> readers;
    const ProtocolCommandResult result = PyxProtocol::ProtocolFacade::DiscoverUsbReaders(readers);
    if (!result.HasException)
    {
        return readers;
    }
    throw ReaderException(
        fmt::format("Failed to discover USB readers: {}", PyxCommon::FieldText(result.Message)), result,
        PYX_SOURCE_FILE, kLineDiscoveryFailed, "DiscoverUsbReaders");
}
} // namespace Pyx
