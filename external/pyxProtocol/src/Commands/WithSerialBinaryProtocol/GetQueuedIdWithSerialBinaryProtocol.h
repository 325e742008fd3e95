#pragma once

#include "Commands/Command.h"
#include "Operations/CardData.h"

namespace PyxProtocol
{
// Five phrases, a reply after each; every reply is 11 bytes: the instruction echo 0C, eight bytes, 90 00.
class GetQueuedIdWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    explicit GetQueuedIdWithSerialBinaryProtocol(QueuedIdFlagParameters flags);
    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    void ValidateResponse() const;
    // The FeatureReport layout shifted by the one-byte echo.
    QueuedIdInformation GetResult() const;

private:
    QueuedIdFlagParameters _flags;
};
} // namespace PyxProtocol
