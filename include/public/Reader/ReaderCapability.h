#pragma once

#include <cstdint>
#include <vector>

#include "PyxExport.h"

namespace Pyx
{
// What a reader may be able to do; each reader operation names the capabilities it needs.
enum class ReaderCapability : std::uint16_t
{
    READER_CAPABILITY_UNKNOWN = 0,
    READER_CAPABILITY_BEEPER = 1,
    READER_CAPABILITY_TRANSPARENT_MODE = 2,
    READER_CAPABILITY_SMART_CARD = 3,
    READER_CAPABILITY_BLUETOOTH = 4,
    READER_CAPABILITY_HID_MOBILE = 5,
    READER_CAPABILITY_FINGERPRINT = 6,
    READER_CAPABILITY_HID_SE = 7,
    READER_CAPABILITY_NXP_SE = 8,
    READER_CAPABILITY_FELICA = 9,
    READER_CAPABILITY_LEGIC = 10,
    READER_CAPABILITY_QUEUED_CARD_DATA = 11,
    READER_CAPABILITY_EXTENDED_CONFIGURATION = 12,
    READER_CAPABILITY_CARD_ANALYZER = 13,
    READER_CAPABILITY_MIFARE_WRITER = 14,
    READER_CAPABILITY_MODULE_CONTROL = 15,
    READER_CAPABILITY_FIRMWARE_UPGRADE = 16,
    READER_CAPABILITY_COPY_CONFIGURATION = 17,
    READER_CAPABILITY_BAUD_RATE = 18,
    READER_CAPABILITY_LUID = 19,
    READER_CAPABILITY_LED_CONFIGURATION = 20,
    READER_CAPABILITY_CONFIGURATION_BLOCK_5 = 21,
    READER_CAPABILITY_SYSTEM_UPTIME = 22,
    READER_CAPABILITY_KEYSTROKING = 23,
    READER_CAPABILITY_CONFIGURABLE = 24,
};

// The enumerator's name ("READER_CAPABILITY_BEEPER", ...), or "unknown" for any other value.
PYX_API const char* ReaderCapabilityToString(ReaderCapability capability);

// The capabilities one operation requires, in the order added, each once.
class PYX_API ReaderCapabilitySet
{
public:
    // Adds the capability unless it is already there; returns the set for chaining.
    ReaderCapabilitySet& WithRequiredCapability(ReaderCapability capability);
    std::vector<ReaderCapability> GetRequiredCapabilities() const { return required_; }

private:
    std::vector<ReaderCapability> required_;
};
} // namespace Pyx
