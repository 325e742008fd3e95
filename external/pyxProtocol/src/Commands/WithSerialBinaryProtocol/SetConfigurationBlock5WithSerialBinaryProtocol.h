#pragma once

#include "Commands/Command.h"
#include "Configuration/ReaderConfiguration.h"

namespace PyxProtocol
{
// Writes block 5 of the active configuration in one phrase; the reader acknowledges with 81 90 00.
class SetConfigurationBlock5WithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    explicit SetConfigurationBlock5WithSerialBinaryProtocol(const ReaderConfigurationBlock5& block);
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void ValidateResponse() const;

private:
    ReaderConfigurationBlock5 _block;
};
} // namespace PyxProtocol
