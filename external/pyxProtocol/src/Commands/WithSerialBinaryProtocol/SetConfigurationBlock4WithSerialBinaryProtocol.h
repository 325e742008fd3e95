#pragma once

#include "Commands/Command.h"
#include "Configuration/ReaderConfiguration.h"

namespace PyxProtocol
{
// Writes block 4 of the active configuration in one phrase; the reader acknowledges with 81 90 00.
class SetConfigurationBlock4WithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    explicit SetConfigurationBlock4WithSerialBinaryProtocol(const ReaderConfigurationBlock4& block);
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void ValidateResponse() const;

private:
    ReaderConfigurationBlock4 _block;
};
} // namespace PyxProtocol
