#pragma once

#include "Commands/Command.h"
#include "Operations/CardAnalyzer.h"

namespace PyxProtocol
{
class GetCardAnalyzerStatusWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // Exactly 5 bytes: the echo 0C, the two status bytes and the status word 90 00.
    void ValidateResponse() const;
    CardAnalyzerStatus GetResult() const;
};
} // namespace PyxProtocol
