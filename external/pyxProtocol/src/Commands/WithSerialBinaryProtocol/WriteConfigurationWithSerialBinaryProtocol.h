#pragma once

#include "Commands/Command.h"

namespace PyxProtocol
{
// Stores the working configuration, and the LUID too when asked; the reader answers with 90 00 alone.
class WriteConfigurationWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    explicit WriteConfigurationWithSerialBinaryProtocol(std::uint8_t writeLuidToFlash);
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void ValidateResponse() const;

private:
    std::uint8_t _writeLuidToFlash;
};
} // namespace PyxProtocol
