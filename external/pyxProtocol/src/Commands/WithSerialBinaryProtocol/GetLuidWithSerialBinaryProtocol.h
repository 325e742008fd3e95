#pragma once

#include "Commands/Command.h"
#include "Operations/Identification.h"

namespace PyxProtocol
{
class GetLuidWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // One reply of exactly 11 bytes: the echo 05, eight bytes of identifier, the status word 90 00.
    void ValidateResponse() const;
    // Field16A and Field16B low byte first, Field32 high byte first.
    LuidResponseInformation GetResult() const;
};
} // namespace PyxProtocol
