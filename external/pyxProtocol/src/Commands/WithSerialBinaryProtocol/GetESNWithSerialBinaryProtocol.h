#pragma once

#include <string>

#include "Commands/Command.h"

namespace PyxProtocol
{
// The electronic serial number in five pieces, asked for by sequence number; each reply echoes 08.
class GetESNWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    static constexpr int kPhraseCount = 5;

    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    void ValidateResponse() const;
    // Every non-zero byte after the echo, reply after reply.
    std::string GetResult() const;
};
} // namespace PyxProtocol
