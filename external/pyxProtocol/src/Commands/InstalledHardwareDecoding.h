#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Operations/Identification.h"

namespace PyxProtocol::InstalledHardwareDecoding
{
// Support flag n from bit n of the 10-bit support mask (higher bits ignored), installed flag n from bit n
// of the installed mask.
InstalledHardwareInformation FromMasks(std::uint16_t supportMask, std::uint8_t installedMask);

// The value of `count` hexadecimal characters (0-9, A-F, a-f; first highest) at `offset` of an Mfp24 reply;
// any other character counts as 0. The caller checks that the reply holds them.
std::uint16_t LenientHex(const std::vector<std::uint8_t>& reply, std::size_t offset, std::size_t count);
} // namespace PyxProtocol::InstalledHardwareDecoding
