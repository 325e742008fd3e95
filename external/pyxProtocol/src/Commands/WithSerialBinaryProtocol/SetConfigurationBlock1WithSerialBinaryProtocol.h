#pragma once

#include "Commands/Command.h"
#include "Configuration/ReaderConfiguration.h"

namespace PyxProtocol
{
// Writes block 1 of the active configuration in one phrase; the reader acknowledges with 81 90 00.
class SetConfigurationBlock1WithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    explicit SetConfigurationBlock1WithSerialBinaryProtocol(const ReaderConfigurationBlock1& block);
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void ValidateResponse() const;

private:
    ReaderConfigurationBlock1 _block;
};
} // namespace PyxProtocol
