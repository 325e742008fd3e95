#pragma once

#include <cstdint>

namespace PyxProtocol
{
// The status word SW1 SW2 that ends a SerialBinary reply; 90 00 is success and has no enumerator.
enum class SerialBinaryStatus : std::uint8_t
{
    INVALID_CLASS = 0,       // 6E 00
    INVALID_INSTRUCTION = 1, // 6D 00
    P3_INCORRECT = 2,        // 67 00
    P1_OR_P2_INCORRECT = 3,  // 6B 00
    CARD_NOT_FOUND = 4,      // 6A 82
    EEPROM_ERROR = 5,        // 62 00
    UNKNOWN_ERROR = 6,       // any other pair
};

constexpr std::uint8_t kSerialBinarySuccessSw1 = 0x90;
constexpr std::uint8_t kSerialBinarySuccessSw2 = 0x00;

// True for the success word 90 00.
constexpr bool IsSerialBinarySuccess(std::uint8_t sw1, std::uint8_t sw2)
{
    return sw1 == kSerialBinarySuccessSw1 && sw2 == kSerialBinarySuccessSw2;
}
// The named failure of a status word; UNKNOWN_ERROR for any pair not in the table (90 00 included).
SerialBinaryStatus ToSerialBinaryStatus(std::uint8_t sw1, std::uint8_t sw2);
// The enumerator's own name ("INVALID_CLASS", ... "UNKNOWN_ERROR").
const char* SerialBinaryStatusToString(SerialBinaryStatus status);
} // namespace PyxProtocol
