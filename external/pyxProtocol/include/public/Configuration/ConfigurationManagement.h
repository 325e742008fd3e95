#pragma once

#include <cstddef>
#include <cstdint>

#include "PyxExport.h"

namespace PyxProtocol
{
// Where a stored configuration lives, as CopyConfiguration names its source and destination.
enum class ConfigurationLocation : std::uint8_t
{
    RAM = 0, // the working configuration
    Stored1 = 1,
    Stored2 = 2,
    FactoryDefaults = 3,
};

#pragma pack(push, 1)
// Which configuration is active and how many the reader holds (numbered 0 to ConfigurationCount - 1).
// Field16 and Field8 are the reader's own and passed through unchanged.
struct PYX_API ActiveConfigurationInformation
{
    std::uint8_t ActiveConfiguration;
    std::uint8_t ConfigurationCount;
    std::uint16_t Field16;
    std::uint8_t Field8;
    bool operator==(const ActiveConfigurationInformation&) const = default;
};
#pragma pack(pop)

static_assert(sizeof(ConfigurationLocation) == 1);
static_assert(sizeof(ActiveConfigurationInformation) == 5);
static_assert(offsetof(ActiveConfigurationInformation, ActiveConfiguration) == 0);
static_assert(offsetof(ActiveConfigurationInformation, ConfigurationCount) == 1);
static_assert(offsetof(ActiveConfigurationInformation, Field16) == 2);
static_assert(offsetof(ActiveConfigurationInformation, Field8) == 4);
} // namespace PyxProtocol
