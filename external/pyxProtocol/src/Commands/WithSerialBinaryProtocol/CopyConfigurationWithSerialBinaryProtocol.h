#pragma once

#include <memory>

#include "Commands/Command.h"
#include "Configuration/ConfigurationManagement.h"
#include "Utility/TimeDelay.h"

namespace PyxProtocol
{
// Copies a configuration from one location to another. The reader needs a moment for the copy, so the
// command waits 50 ms between sending and reading; the reply is 09 00 s d x1 x2 90 00.
class CopyConfigurationWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    // Without a delay object the command makes a plain one.
    CopyConfigurationWithSerialBinaryProtocol(ConfigurationLocation source, ConfigurationLocation destination,
                                              std::uint8_t extraByte1, std::uint8_t extraByte2,
                                              std::unique_ptr<PyxCommon::TimeDelay> delay = nullptr);
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // Waits 50 ms, then expects one reply.
    bool ExpectsResponsePhrase() override;
    void ValidateResponse() const;

private:
    ConfigurationLocation _source;
    ConfigurationLocation _destination;
    std::uint8_t _extraByte1;
    std::uint8_t _extraByte2;
    std::unique_ptr<PyxCommon::TimeDelay> _delay;
};
} // namespace PyxProtocol
