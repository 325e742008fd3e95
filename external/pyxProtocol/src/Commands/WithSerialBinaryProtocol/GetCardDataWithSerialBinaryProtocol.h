#pragma once

#include "Commands/Command.h"
#include "Operations/CardData.h"

namespace PyxProtocol
{
// A card read in one reply: 15 bytes (size 1) or 39 bytes (size 2), the status word last. The reply
// "no card" (6A 82) is accepted and decodes like any other.
class GetCardDataWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    explicit GetCardDataWithSerialBinaryProtocol(GetCardDataSizeParameters size);
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void ValidateResponse() const;
    // Byte 2 of the reply.
    std::uint8_t GetBitCount() const;
    // 32 bytes: the reply's bytes from 5 up to the status word, zero behind them.
    std::vector<std::uint8_t> GetResult() const;

private:
    GetCardDataSizeParameters _size;
};
} // namespace PyxProtocol
