#pragma once

#include <cstdint>
#include <vector>

#include "Commands/Command.h"
#include "Structures/ExtendedConfiguration.h"

namespace PyxProtocol
{
// Reads the extended configuration in two exchanges: its 8-byte start, whose header gives the block's size,
// then the whole block.
class GetExtendedConfigurationWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    void Reset() override;
    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // The header reply is checked as it arrives and is not stored; the data reply is.
    void AddResponsePhrase(std::vector<std::uint8_t> phrase) override;
    bool ExpectsResponsePhrase() override;

    void ValidateResponse() const;
    PyxCommon::ExtendedConfiguration GetResult() const;

private:
    void validateAndParseHeaderResponse(const std::vector<std::uint8_t>& reply);

    bool headerKnown_ = false;
    // The header the reader announced in its first reply.
    PyxCommon::FieldSeparatorDataHeader header_;
};
} // namespace PyxProtocol
