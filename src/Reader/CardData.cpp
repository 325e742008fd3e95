#include "Reader/CardData.h"

#include <algorithm>

namespace Pyx
{
namespace
{
// A long card read fills 32 bytes.
constexpr std::size_t kDefaultCardBytes = 32;
} // namespace

CardData::CardData() : data_(kDefaultCardBytes, std::byte{0}) {}

bool CardData::IsEmpty() const
{
    if (bitCount_ != 0)
    {
        return false;
    }
    return std::all_of(data_.begin(), data_.end(), [](std::byte value) { return value == std::byte{0}; });
}

bool CardData::operator==(const CardData& other) const
{
    // Cards of different lengths differ, so no comparison reads past the shorter card.
    return bitCount_ == other.bitCount_ && data_ == other.data_;
}

std::string CardData::AsString()
{
    std::string text(data_.size(), '\0');
    std::transform(data_.begin(), data_.end(), text.begin(),
                   [](std::byte value) { return static_cast<char>(value); });
    return text;
}
} // namespace Pyx
