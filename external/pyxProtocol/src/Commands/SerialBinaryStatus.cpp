#include "Commands/SerialBinaryStatus.h"

#include <array>

namespace PyxProtocol
{
namespace
{
struct StatusWord
{
    std::uint8_t sw1;
    std::uint8_t sw2;
    SerialBinaryStatus status;
    const char* name;
};

constexpr std::array<StatusWord, 6> kStatusWords{{
    {0x6E, 0x00, SerialBinaryStatus::INVALID_CLASS, "INVALID_CLASS"},
    {0x6D, 0x00, SerialBinaryStatus::INVALID_INSTRUCTION, "INVALID_INSTRUCTION"},
    {0x67, 0x00, SerialBinaryStatus::P3_INCORRECT, "P3_INCORRECT"},
    {0x6B, 0x00, SerialBinaryStatus::P1_OR_P2_INCORRECT, "P1_OR_P2_INCORRECT"},
    {0x6A, 0x82, SerialBinaryStatus::CARD_NOT_FOUND, "CARD_NOT_FOUND"},
    {0x62, 0x00, SerialBinaryStatus::EEPROM_ERROR, "EEPROM_ERROR"},
}};
} // namespace

SerialBinaryStatus ToSerialBinaryStatus(std::uint8_t sw1, std::uint8_t sw2)
{
    for (const auto& word : kStatusWords)
    {
        if (word.sw1 == sw1 && word.sw2 == sw2)
        {
            return word.status;
        }
    }
    return SerialBinaryStatus::UNKNOWN_ERROR;
}

const char* SerialBinaryStatusToString(SerialBinaryStatus status)
{
    for (const auto& word : kStatusWords)
    {
        if (word.status == status)
        {
            return word.name;
        }
    }
    return "UNKNOWN_ERROR";
}
} // namespace PyxProtocol
