#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Commands/Command.h"
#include "Structures/ExtendedConfiguration.h"

namespace PyxProtocol
{
// Writes the whole extended configuration in one phrase, then each hash value the firmware's security state
// asks for in one phrase of its own; every phrase is acknowledged.
class SetExtendedConfigurationWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    SetExtendedConfigurationWithSerialBinaryProtocol(const PyxCommon::ExtendedConfiguration& configuration,
                                                     const PyxCommon::HashData& hash);

    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;

    void ValidateResponse() const;

private:
    std::int32_t PhraseCount() const;

    std::vector<std::uint8_t> configuration_;
    std::array<std::uint8_t, 16> firstValue_;
    std::array<std::uint8_t, 16> secondValue_;
    std::uint8_t enhanceSecurityFirmwareState_;
    bool sendFirst_;
    bool sendSecond_;
};
} // namespace PyxProtocol
