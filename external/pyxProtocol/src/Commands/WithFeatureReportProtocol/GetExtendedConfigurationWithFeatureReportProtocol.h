#pragma once

#include <cstdint>
#include <vector>

#include "Commands/Command.h"
#include "Structures/ExtendedConfiguration.h"

namespace PyxProtocol
{
// Reads the 128-byte extended configuration in chunks of 8 bytes. The first reply carries the header, whose
// storage size gives the number of chunks; a header that does not describe a valid block stops the read
// before a second phrase is sent.
class GetExtendedConfigurationWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    void Reset() override;
    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
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
