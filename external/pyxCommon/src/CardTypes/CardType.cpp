#include "CardTypes/CardType.h"

#include <bit>
#include <cstring>

#include "Structures/ReaderDefinition.h"

static_assert(std::endian::native == std::endian::little, "CardTypeInfo.Code is stored little-endian");

namespace PyxCommon
{
void CardType::ToCardTypeInfo(CardTypeInfo& info) const
{
    std::memset(&info, 0, sizeof(info));
    info.Code = Code;
    SetFieldText(info.Description, Description);
    SetFieldText(info.Name, Name);
    info.SecurityCode = SecurityCode;
    info.TechnologyCode = TechnologyCode;
}

CardType CardType::FromCardTypeInfo(const CardTypeInfo& info)
{
    CardType type;
    type.Code = info.Code;
    type.Description = FieldText(info.Description);
    type.Name = FieldText(info.Name);
    type.SecurityCode = info.SecurityCode;
    type.TechnologyCode = info.TechnologyCode;
    return type;
}
} // namespace PyxCommon
