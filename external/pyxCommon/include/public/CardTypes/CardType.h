#pragma once

#include <cstdint>
#include <string>

#include "CardTypes/CardTypeInfo.h"
#include "PyxExport.h"

namespace PyxCommon
{
// One card technology that a reader can read, as the catalogue describes it.
struct PYX_API CardType
{
    std::uint16_t Code = 0;
    std::string Description;
    // Upper case with underscores, e.g. "HID_PROX".
    std::string Name;
    // 0 none (the OFF entry), 1 secure credential data, 2 non-secure identifier, 3 mobile or BLE credential.
    std::uint8_t SecurityCode = 0;
    // 0 none (the OFF entry), 1 mobile or BLE, 2 13.56 MHz, 3 125 kHz, 4 both 13.56 MHz and 125 kHz.
    std::uint8_t TechnologyCode = 0;

    // Overwrites the whole record; texts longer than a field are cut so that a zero byte always ends them.
    void ToCardTypeInfo(CardTypeInfo& info) const;
    // Texts are read up to their zero byte, never past the end of their field.
    static CardType FromCardTypeInfo(const CardTypeInfo& info);

    bool operator==(const CardType& other) const = default;
};
} // namespace PyxCommon
