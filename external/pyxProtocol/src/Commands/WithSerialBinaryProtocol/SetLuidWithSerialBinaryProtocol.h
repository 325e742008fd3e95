#pragma once

#include "Commands/Command.h"

namespace PyxProtocol
{
// A header announcing two data bytes, then the identifier low byte first; the reader answers each.
class SetLuidWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    explicit SetLuidWithSerialBinaryProtocol(std::uint16_t luid) : _luid(luid) {}

    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    // The header's acknowledgement 06, then the status word 90 00 after the data.
    void ValidateResponse() const;

private:
    std::uint16_t _luid;
};
} // namespace PyxProtocol
