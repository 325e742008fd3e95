#pragma once

#include "Commands/Command.h"

namespace PyxProtocol
{
// Selects the active configuration. Reply: 09 81, six bytes, then the status word 90 00 at bytes 8 and 9.
class SetActiveConfigurationWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    explicit SetActiveConfigurationWithSerialBinaryProtocol(std::uint8_t configurationNumber);
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void ValidateResponse() const;

private:
    std::uint8_t _configurationNumber;
};
} // namespace PyxProtocol
