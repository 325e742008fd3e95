#pragma once

#include "Commands/Command.h"

namespace PyxProtocol
{
// Switches transparent mode on or off; the reader echoes the request when it obeyed.
class EnableTransparentModeWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    explicit EnableTransparentModeWithFeatureReportProtocol(bool enable) : _enable(enable) {}

    std::vector<std::uint8_t> NextCommandPhrase() override;
    void ValidateResponse() const;

private:
    bool _enable;
};
} // namespace PyxProtocol
