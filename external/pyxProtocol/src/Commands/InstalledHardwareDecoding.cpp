#include "Commands/InstalledHardwareDecoding.h"

#include "Commands/CommandHelpers.h"

namespace PyxProtocol::InstalledHardwareDecoding
{
namespace
{
std::uint8_t HexDigitOrZero(std::uint8_t character)
{
    if (character >= '0' && character <= '9')
    {
        return static_cast<std::uint8_t>(character - '0');
    }
    if (character >= 'A' && character <= 'F')
    {
        return static_cast<std::uint8_t>(character - 'A' + 10);
    }
    if (character >= 'a' && character <= 'f')
    {
        return static_cast<std::uint8_t>(character - 'a' + 10);
    }
    return 0;
}
} // namespace

InstalledHardwareInformation FromMasks(std::uint16_t supportMask, std::uint8_t installedMask)
{
    InstalledHardwareInformation info{};
    for (std::size_t n = 0; n < InstalledHardwareInformation::SupportedModuleCount; ++n)
    {
        info.ModuleSupported[n] = ((supportMask >> n) & 1U) != 0;
    }
    for (std::size_t n = 0; n < InstalledHardwareInformation::InstalledModuleCount; ++n)
    {
        info.ModuleInstalled[n] = ((installedMask >> n) & 1U) != 0;
    }
    return info;
}

std::uint16_t LenientHex(const std::vector<std::uint8_t>& reply, std::size_t offset, std::size_t count)
{
    std::uint16_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
    {
        value = static_cast<std::uint16_t>((value << 4) | HexDigitOrZero(Reply::ByteAt(reply, offset + i)));
    }
    return value;
}
} // namespace PyxProtocol::InstalledHardwareDecoding
