#include "Structures/Configuration.h"

#include <algorithm>
#include <string>

#include "Exceptions/TessmarException.h"

namespace PyxCommon
{
namespace
{
constexpr std::uint32_t kMaxDigitCount = 26;
constexpr std::uint32_t kMaxStripParityCount = 142;
// The reader keeps timings as one byte of 4 ms or 50 ms steps.
constexpr std::uint32_t kFineStepMs = 4;
constexpr std::uint32_t kCoarseStepMs = 50;
constexpr std::uint32_t kMaxFineTimeMs = 255 * kFineStepMs;
constexpr std::uint32_t kMaxCoarseTimeMs = 255 * kCoarseStepMs;

void CheckRange(const char* field, std::uint32_t value, std::uint32_t upper)
{
    ThrowExceptionForPropertyOutOfRange<std::uint32_t>(std::string("ReaderConfigurationStruct::") + field,
                                                       value, 0, upper);
}
} // namespace

ReaderConfiguration& ReaderConfiguration::SetFacDigitCount(std::uint32_t value)
{
    CheckRange("FacDigitCount", value, kMaxDigitCount);
    FacDigitCount = static_cast<std::uint8_t>(value);
    return *this;
}

ReaderConfiguration& ReaderConfiguration::SetIdDigitCount(std::uint32_t value)
{
    CheckRange("IdDigitCount", value, kMaxDigitCount);
    IdDigitCount = static_cast<std::uint8_t>(value);
    return *this;
}

ReaderConfiguration& ReaderConfiguration::SetTotalStripLeadingParityCount(std::uint32_t value)
{
    CheckRange("TotalStripLeadingParityCount", value, kMaxStripParityCount);
    TotalStripLeadingParityCount = static_cast<std::uint8_t>(value);
    return *this;
}

ReaderConfiguration& ReaderConfiguration::SetTotalStripTrailingParityCount(std::uint32_t value)
{
    CheckRange("TotalStripTrailingParityCount", value, kMaxStripParityCount);
    TotalStripTrailingParityCount = static_cast<std::uint8_t>(value);
    return *this;
}

ReaderConfiguration& ReaderConfiguration::SetLegacyBitStreamTimeOutMs(std::uint32_t value)
{
    if (value % kFineStepMs != 0)
    {
        PYX_THROW(TessmarException, "LegacyBitStreamTimeOutMs must be a multiple of 4 milliseconds");
    }
    CheckRange("LegacyBitStreamTimeOutMs", value, kMaxFineTimeMs);
    LegacyBitStreamTimeOutMs = static_cast<std::uint16_t>(value);
    return *this;
}

ReaderConfiguration& ReaderConfiguration::SetDataHoldTimeMs(std::uint32_t value)
{
    if (value % kCoarseStepMs != 0)
    {
        PYX_THROW(TessmarException, "DataHoldTimeMs must be a multiple of 50 milliseconds");
    }
    CheckRange("DataHoldTimeMs", value, kMaxCoarseTimeMs);
    DataHoldTimeMs = static_cast<std::uint16_t>(value);
    return *this;
}

ReaderConfiguration& ReaderConfiguration::SetLockOutTimeMs(std::uint32_t value)
{
    if (value % kCoarseStepMs != 0)
    {
        PYX_THROW(TessmarException, "LockOutTimeMs must be a multiple of 50 milliseconds");
    }
    CheckRange("LockOutTimeMs", value, kMaxCoarseTimeMs);
    LockOutTimeMs = static_cast<std::uint16_t>(value);
    return *this;
}

ReaderConfiguration& ReaderConfiguration::SetKeyPressTimeMs(std::uint32_t value)
{
    if (value % kFineStepMs != 0)
    {
        PYX_THROW(TessmarException, "KeyPressTimeMs must be a multiple of 4 milliseconds");
    }
    CheckRange("KeyPressTimeMs", value, kMaxFineTimeMs);
    KeyPressTimeMs = static_cast<std::uint16_t>(value);
    return *this;
}

ReaderConfiguration& ReaderConfiguration::SetKeyReleaseTimeMs(std::uint32_t value)
{
    if (value % kFineStepMs != 0)
    {
        PYX_THROW(TessmarException, "KeyReleaseTimeMs must be a multiple of 4 milliseconds");
    }
    CheckRange("KeyReleaseTimeMs", value, kMaxFineTimeMs);
    KeyReleaseTimeMs = static_cast<std::uint16_t>(value);
    return *this;
}

ReaderConfiguration& ReaderConfiguration::AddCardGoneCharacter(std::uint8_t character)
{
    for (std::uint8_t& slot : CardGoneCharacters)
    {
        if (slot == 0)
        {
            slot = character;
            return *this;
        }
    }
    PYX_THROW(TessmarException, "Cannot add more than 2 Card Gone Characters");
}

std::size_t ReaderConfiguration::UsedCharacterSlots() const
{
    return std::size_t{LeadingCharacterCount} + std::size_t{TrailingCharacterCount};
}

ReaderConfiguration& ReaderConfiguration::AddLeadingCharacter(char character)
{
    if (character == 0)
    {
        return *this;
    }
    // Counts from a caller-filled image may be anything; every slot index below stays under the total.
    const std::size_t used = UsedCharacterSlots();
    if (used >= kLeadingTrailingCharacterSlots)
    {
        PYX_THROW(TessmarException, "Cannot add more than 3 Leading/Trailing Characters in total");
    }
    for (std::size_t slot = used; slot > LeadingCharacterCount; --slot)
    {
        LeadingTrailingCharacters[slot] = LeadingTrailingCharacters[slot - 1];
    }
    LeadingTrailingCharacters[LeadingCharacterCount] = static_cast<std::uint8_t>(character);
    ++LeadingCharacterCount;
    return *this;
}

ReaderConfiguration& ReaderConfiguration::AddTrailingCharacter(char character)
{
    if (character == 0)
    {
        return *this;
    }
    const std::size_t used = UsedCharacterSlots();
    if (used >= kLeadingTrailingCharacterSlots)
    {
        PYX_THROW(TessmarException, "Cannot add more than 3 Leading/Trailing Characters in total");
    }
    LeadingTrailingCharacters[used] = static_cast<std::uint8_t>(character);
    ++TrailingCharacterCount;
    return *this;
}

std::uint8_t ReaderConfiguration::GetLeadingCharacter(std::size_t index) const
{
    // A count beyond the slots reads as nothing past them.
    if (index >= LeadingCharacterCount || index >= kLeadingTrailingCharacterSlots)
    {
        return 0;
    }
    return LeadingTrailingCharacters[index];
}

std::uint8_t ReaderConfiguration::GetTrailingCharacter(std::size_t index) const
{
    const std::size_t slot = std::size_t{LeadingCharacterCount} + index;
    if (index >= TrailingCharacterCount || slot >= kLeadingTrailingCharacterSlots)
    {
        return 0;
    }
    return LeadingTrailingCharacters[slot];
}
} // namespace PyxCommon
