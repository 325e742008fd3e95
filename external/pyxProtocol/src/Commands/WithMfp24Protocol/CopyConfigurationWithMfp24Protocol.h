#pragma once

#include "Commands/Command.h"
#include "Configuration/ConfigurationManagement.h"

namespace PyxProtocol
{
// Copies a configuration with "F" and a copy letter: from 1 to 0 "R", from 0 to 1 "W", from 2 to 0 "D". Any
// other pair throws std::invalid_argument, when the phrase is built and when the reply is checked. The reader
// answers "R", the same letter, "0", anything, CR.
class CopyConfigurationWithMfp24Protocol : public Mfp24Command
{
public:
    CopyConfigurationWithMfp24Protocol(ConfigurationLocation source, ConfigurationLocation destination);
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void ValidateResponse() const;

private:
    ConfigurationLocation _source;
    ConfigurationLocation _destination;
};
} // namespace PyxProtocol
