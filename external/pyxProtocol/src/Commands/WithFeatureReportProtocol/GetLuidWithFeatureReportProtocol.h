#pragma once

#include "Commands/Command.h"
#include "Operations/Identification.h"

namespace PyxProtocol
{
class GetLuidWithFeatureReportProtocol : public Command
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void ValidateResponse() const;
    // Field16A and Field16B low byte first, Field32 high byte first.
    LuidResponseInformation GetResult() const;
};
} // namespace PyxProtocol
