#include "Protocols/ProtocolFactory.h"

#include <fmt/format.h>

#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
// The refusal names the type by its text form, so a log shows "Dummy" or "Invalid" rather than a number.
std::string RefusalMessage(ProtocolType type)
{
    return fmt::format("Unable to initialize an underlying protocol object given invalid type {}",
                       ProtocolTypeToString(type));
}
} // namespace

// Facade creation is the only caller; it owns the object for the reader's life and drops it on close.
// One object per reader suffices: the protocols are stateless tags.
std::unique_ptr<Protocol> GetProtocol(ProtocolType type)
{
    switch (type)
    {
    case ProtocolType::FeatureReport:
        return std::make_unique<FeatureReportProtocol>();
    case ProtocolType::Mfp24:
        return std::make_unique<Mfp24Protocol>();
    case ProtocolType::SerialBinary:
        return std::make_unique<SerialBinaryProtocol>();
    default:
        break;
    }
    // Dummy has a transport but no protocol: a dummy reader cannot run operations. The refusal's line
    // reaches callers inside result records and is documented with the message, so it is a fixed number.
    constexpr int kLineUnsupportedProtocol = 37;
    throw ProtocolException(RefusalMessage(type), PYX_SOURCE_FILE, kLineUnsupportedProtocol, __func__);
}
} // namespace PyxProtocol
