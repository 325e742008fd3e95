#include "CardTypes/CardTypeResolver.h"

#include <algorithm>
#include <fmt/format.h>

#include "CardTypes/CardTypeCatalogue.h"
#include "Exceptions/TessmarException.h"

namespace PyxCommon
{
namespace
{
constexpr std::uint16_t FamilyMask = 0xFF0F;
constexpr std::uint16_t VariantBits = 0x00F0;

constexpr bool CatalogueCodesAreUnique()
{
    for (std::size_t i = 0; i < Detail::CardTypeCatalogue.size(); ++i)
    {
        for (std::size_t j = i + 1; j < Detail::CardTypeCatalogue.size(); ++j)
        {
            if (Detail::CardTypeCatalogue[i].Code == Detail::CardTypeCatalogue[j].Code)
            {
                return false;
            }
        }
    }
    return true;
}

constexpr bool CatalogueTextsFit()
{
    for (const auto& row : Detail::CardTypeCatalogue)
    {
        if (std::char_traits<char>::length(row.Description) >= sizeof(CardTypeInfo::Description) ||
            std::char_traits<char>::length(row.Name) >= sizeof(CardTypeInfo::Name))
        {
            return false;
        }
    }
    return true;
}

static_assert(Detail::CardTypeCatalogue.size() == 122);
static_assert(CatalogueCodesAreUnique(), "a card-type code appears twice in the catalogue");
static_assert(CatalogueTextsFit(), "a catalogue text would be cut in its CardTypeInfo field");
} // namespace

std::size_t CardTypeResolver::CodeHash::operator()(std::uint16_t code) const
{
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (const std::uint8_t byte :
         {static_cast<std::uint8_t>(code & 0xFF), static_cast<std::uint8_t>(code >> 8)})
    {
        hash ^= byte;
        hash *= 0x100000001B3ULL;
    }
    return static_cast<std::size_t>(hash);
}

const CardTypeResolver& CardTypeResolver::GetInstance()
{
    static const CardTypeResolver instance;
    return instance;
}

CardTypeResolver::CardTypeResolver()
{
    records_.reserve(Detail::CardTypeCatalogue.size());
    for (const auto& row : Detail::CardTypeCatalogue)
    {
        AddCardType(row.Code, row.Description, row.Name, row.TechnologyCode, row.SecurityCode);
    }
    for (auto& [family, positions] : byFamily_)
    {
        std::sort(positions.begin(), positions.end(),
                  [this](std::size_t a, std::size_t b) { return records_[a].Code < records_[b].Code; });
    }
}

void CardTypeResolver::AddCardType(std::uint16_t code, const char* description, const char* name,
                                   std::uint8_t technologyCode, std::uint8_t securityCode)
{
    CardType type;
    type.Code = code;
    type.Description = description;
    type.Name = name;
    type.SecurityCode = securityCode;
    type.TechnologyCode = technologyCode;

    // A code already present keeps its first entry, so each code stands for exactly one record.
    if (!byCode_.emplace(code, records_.size()).second)
    {
        return;
    }
    byFamily_[static_cast<std::uint16_t>(code & FamilyMask)].push_back(records_.size());
    type.ToCardTypeInfo(records_.emplace_back());
}

bool CardTypeResolver::Contains(std::uint16_t code) const
{
    return byCode_.find(code) != byCode_.end();
}

bool CardTypeResolver::IsUntrackedBaseCode(std::uint16_t code) const
{
    return code != 0 && (code & VariantBits) == 0 && !Contains(code);
}

std::vector<CardType> CardTypeResolver::FindFamilyCardTypes(std::uint16_t code) const
{
    std::vector<CardType> types;
    const auto family = byFamily_.find(static_cast<std::uint16_t>(code & FamilyMask));
    if (family != byFamily_.end())
    {
        types.reserve(family->second.size());
        for (const std::size_t position : family->second)
        {
            types.push_back(CardType::FromCardTypeInfo(records_[position]));
        }
    }
    return types;
}

std::vector<CardType> CardTypeResolver::ResolveSupportedCardType(std::uint16_t code) const
{
    if (IsUntrackedBaseCode(code))
    {
        // A new variant reported by its base code still names the variants the catalogue knows.
        std::vector<CardType> family = FindFamilyCardTypes(code);
        if (!family.empty())
        {
            return family;
        }
    }
    else
    {
        if ((code & VariantBits) == 0)
        {
            const auto family = byFamily_.find(static_cast<std::uint16_t>(code & FamilyMask));
            const bool hasOtherMembers = family != byFamily_.end() &&
                                         std::any_of(family->second.begin(), family->second.end(),
                                                     [&](std::size_t p) { return records_[p].Code != code; });
            if (hasOtherMembers)
            {
                return FindFamilyCardTypes(code);
            }
        }
        const auto entry = byCode_.find(code);
        if (entry != byCode_.end())
        {
            return {CardType::FromCardTypeInfo(records_[entry->second])};
        }
    }
    PYX_THROW(TessmarException,
              fmt::format("Reader provided a card type '0x{:X}' that is not currently tracked. It "
                          "may not exist, or it may be very new.",
                          code));
}
} // namespace PyxCommon
