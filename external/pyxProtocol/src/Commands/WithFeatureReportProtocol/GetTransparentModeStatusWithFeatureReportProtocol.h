#pragma once

#include "Commands/Command.h"
#include "Operations/TransparentMode.h"

namespace PyxProtocol
{
class GetTransparentModeStatusWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // A reply must be there and be 8 bytes long.
    void ValidateResponse() const;
    // Eight zero bytes: nothing reported. Otherwise the echo 8C 00, then status and state.
    TransparentModeStatusInformation GetResult() const;
};
} // namespace PyxProtocol
