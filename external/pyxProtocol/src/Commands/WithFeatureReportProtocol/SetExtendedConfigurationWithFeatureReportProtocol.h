#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Commands/Command.h"
#include "Structures/ExtendedConfiguration.h"

namespace PyxProtocol
{
// Writes the extended configuration in 8-byte chunks, each announced by a header phrase, then the hash
// values the firmware's security state asks for. The reader does not acknowledge these phrases.
class SetExtendedConfigurationWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    // Refuses a configuration whose byte form is shorter than its storage size announces.
    SetExtendedConfigurationWithFeatureReportProtocol(const PyxCommon::ExtendedConfiguration& configuration,
                                                      const PyxCommon::HashData& hash);

    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void AddResponsePhrase(std::vector<std::uint8_t> phrase) override;
    bool ExpectsResponsePhrase() override;

private:
    std::int32_t PhraseCount() const;

    std::vector<std::uint8_t> configuration_;
    std::array<std::uint8_t, 16> firstValue_;
    std::array<std::uint8_t, 16> secondValue_;
    std::uint8_t enhanceSecurityFirmwareState_;
    bool sendFirst_;
    bool sendSecond_;
    std::uint8_t chunkCount_;
};
} // namespace PyxProtocol
