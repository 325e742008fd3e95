#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "PyxExport.h"

namespace Pyx
{
// One credential read from a reader: the bytes as read and how many of their bits are valid.
class PYX_API CardData
{
public:
    // 32 zero bytes and a bit count of 0: the size a long card read fills.
    CardData();
    CardData(const CardData&) = default;
    CardData(CardData&&) noexcept = default;
    CardData& operator=(const CardData&) = default;
    CardData& operator=(CardData&&) noexcept = default;
    ~CardData() = default;

    unsigned int GetBitCount() const { return bitCount_; }
    void SetBitCount(unsigned int bitCount) { bitCount_ = bitCount; }
    // The first data byte; the bytes stay owned by the card.
    std::byte* AsByteArray() { return data_.data(); }
    // The number of data bytes behind AsByteArray().
    std::size_t Size() const { return data_.size(); }
    // No valid bits and only zero bytes: nothing was presented.
    bool IsEmpty() const;
    // Equal bit counts and equal bytes; cards of different lengths are never equal.
    bool operator==(const CardData& other) const;
    bool operator!=(const CardData& other) const { return !(*this == other); }
    // The data bytes one for one, zero bytes included.
    std::string AsString();

private:
    std::vector<std::byte> data_;
    std::uint32_t bitCount_ = 0;
};
} // namespace Pyx
