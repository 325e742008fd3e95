#pragma once

#include "Commands/Command.h"
#include "Configuration/ReaderConfiguration.h"

namespace PyxProtocol
{
// Writes block 3 of the active configuration in one phrase; the reader acknowledges with 81 90 00.
class SetConfigurationBlock3WithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    explicit SetConfigurationBlock3WithSerialBinaryProtocol(const ReaderConfigurationBlock3& block);
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void ValidateResponse() const;

private:
    ReaderConfigurationBlock3 _block;
};
} // namespace PyxProtocol
