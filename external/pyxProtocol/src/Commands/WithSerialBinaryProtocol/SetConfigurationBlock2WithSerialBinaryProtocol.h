#pragma once

#include "Commands/Command.h"
#include "Configuration/ReaderConfiguration.h"

namespace PyxProtocol
{
// Writes block 2 of the active configuration in one phrase; the reader acknowledges with 81 90 00.
class SetConfigurationBlock2WithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    explicit SetConfigurationBlock2WithSerialBinaryProtocol(const ReaderConfigurationBlock2& block);
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void ValidateResponse() const;

private:
    ReaderConfigurationBlock2 _block;
};
} // namespace PyxProtocol
