#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "CardTypes/CardType.h"
#include "CardTypes/CardTypeInfo.h"
#include "PyxExport.h"

namespace PyxCommon
{
// The fixed catalogue of card types this library knows, and how a code reported by a reader maps onto
// it. A family is every catalogue code equal to a given one once bits 4-7 are ignored (mask 0xFF0F); a
// base code has bits 4-7 clear. Built once, on first use from any thread, and only read afterwards. Hosts
// reach it through its public members, which alone are exported; how it is built stays inside the library.
class CardTypeResolver
{
public:
    PYX_API static const CardTypeResolver& GetInstance();

    CardTypeResolver(const CardTypeResolver&) = delete;
    CardTypeResolver& operator=(const CardTypeResolver&) = delete;

    // The card types a reported code stands for: the whole family for a base code that has one, else the
    // code's own entry. Never empty; a code the catalogue cannot account for throws TessmarException.
    PYX_API std::vector<CardType> ResolveSupportedCardType(std::uint16_t code) const;
    // Every catalogue entry of the code's family, by ascending code; empty when there is none.
    PYX_API std::vector<CardType> FindFamilyCardTypes(std::uint16_t code) const;
    // A non-zero base code that the catalogue does not hold.
    PYX_API bool IsUntrackedBaseCode(std::uint16_t code) const;

    // The whole catalogue, in catalogue order.
    std::span<const CardTypeInfo> GetCardTypeInfos() const { return records_; }

private:
    // 64-bit FNV-1a over the code's two bytes, low byte first.
    struct CodeHash
    {
        std::size_t operator()(std::uint16_t code) const;
    };

    CardTypeResolver();
    ~CardTypeResolver() = default;

    // The technology code comes before the security code here, unlike in the records.
    void AddCardType(std::uint16_t code, const char* description, const char* name,
                     std::uint8_t technologyCode, std::uint8_t securityCode);
    bool Contains(std::uint16_t code) const;

    std::vector<CardTypeInfo> records_;
    // Code -> position in records_.
    std::unordered_map<std::uint16_t, std::size_t, CodeHash> byCode_;
    // Code & 0xFF0F -> positions in records_, by ascending code.
    std::unordered_map<std::uint16_t, std::vector<std::size_t>, CodeHash> byFamily_;
};
} // namespace PyxCommon
