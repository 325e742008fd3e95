#include "Visitors/SetExtendedConfigurationVisitor.h"

#include <algorithm>
#include <cstdint>

#include <fmt/format.h>

#include "Commands/WithFeatureReportProtocol/SetExtendedConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetExtendedConfigurationWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
// Sizes and offsets are summed in 32 bits: a caller-filled record may hold any byte values, and eight-bit
// sums would wrap and let an oversized configuration pass.
void SetExtendedConfigurationVisitor::ValidateArguments()
{
    const PyxCommon::FieldSeparatorDataHeader& header = _configuration.FieldSeparatorDataHeader;
    header.Validate();

    // The header's check bounds the counts by the entries held; the min() keeps the loops inside the
    // arrays whatever that check allows.
    const std::size_t fieldCount =
        std::min<std::size_t>(header.FieldEntryCount, _configuration.FieldEntries.size());
    for (std::size_t i = 0; i < fieldCount; ++i)
    {
        const PyxCommon::FieldEntry& field = _configuration.FieldEntries[i];
        field.Validate();
        const std::uint32_t end =
            std::uint32_t{field.BitCountOfField} + std::uint32_t{field.StartingBitPosition};
        if (end > _configuration.ApplicationData.MaxBitCount)
        {
            PYX_THROW(ProtocolException,
                      "Sum of BitCountOfField and StartingBitPosition must be less than maximum "
                      "bit count defined in Application Data");
        }
    }

    std::uint32_t totalSize =
        std::uint32_t{header.HeaderSize} +
        std::uint32_t{header.FieldEntrySize} * std::uint32_t{header.FieldEntryCount} +
        std::uint32_t{header.SeparatorEntrySize} * std::uint32_t{header.SeparatorEntryCount};
    std::uint32_t expectedOffset = 0;
    const std::size_t separatorCount =
        std::min<std::size_t>(header.SeparatorEntryCount, _configuration.SeparatorEntries.size());
    for (std::size_t j = 0; j < separatorCount; ++j)
    {
        const PyxCommon::SeparatorEntry& separator = _configuration.SeparatorEntries[j];
        separator.Validate();
        if (separator.ByteOffset != expectedOffset)
        {
            PYX_THROW(ProtocolException,
                      fmt::format("ByteOffset specified for separator entry {} is {}, which "
                                  "should be {}",
                                  j + 1, separator.ByteOffset, expectedOffset));
        }
        const std::uint32_t characterBytes =
            std::uint32_t{separator.CharacterSize} * std::uint32_t{separator.VirtualCharacterCount};
        totalSize += characterBytes;
        expectedOffset += characterBytes;
    }
    if (totalSize > std::uint32_t{header.MaxStorageSize} * 8)
    {
        PYX_THROW(ProtocolException, "The total size of the Extended Configuration exceeds the maximum "
                                     "storage size defined in the header");
    }

    _configuration.ApplicationData.Validate();
    ThrowProtocolExceptionForPropertyOutOfRange("PyxCommon::HashData::EnhanceSecurityFirmwareState",
                                                _hash.EnhanceSecurityFirmwareState, 0, 1);
}

// The command takes the configuration's byte form when it is built, which refuses content that the block
// cannot hold; that happens before the first phrase.
void SetExtendedConfigurationVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetExtendedConfigurationWithSerialBinaryProtocol command(_configuration, _hash);
    command.Execute(transport);
    command.ValidateResponse();
}

void SetExtendedConfigurationVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(SetExtendedConfiguration, Mfp24);
}

void SetExtendedConfigurationVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    SetExtendedConfigurationWithFeatureReportProtocol command(_configuration, _hash);
    command.Execute(transport);
}
} // namespace PyxProtocol
