#pragma once

#include "Commands/Command.h"
#include "Operations/CardAnalyzer.h"

namespace PyxProtocol
{
class GetCardAnalyzerStatusWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // The echo 8C 08, then the two status bytes.
    CardAnalyzerStatus GetResult() const;
};
} // namespace PyxProtocol
