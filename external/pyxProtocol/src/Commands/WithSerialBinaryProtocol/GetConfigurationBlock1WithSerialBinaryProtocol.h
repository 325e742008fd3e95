#pragma once

#include "Commands/Command.h"
#include "Configuration/ReaderConfiguration.h"

namespace PyxProtocol
{
// Reads block 1 of the active configuration. The reply is 01 d0..d7 90 00: the instruction echo, the
// block and the status word.
class GetConfigurationBlock1WithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void ValidateResponse() const;
    ReaderConfigurationBlock1 GetResult() const;
};
} // namespace PyxProtocol
