#pragma once

#include "Commands/Command.h"
#include "Operations/CardData.h"

namespace PyxProtocol
{
// Five phrases, a reply after each: four 8-byte pages of the identifier, then its trailing fields.
class GetQueuedIdWithFeatureReportProtocol : public Command
{
public:
    explicit GetQueuedIdWithFeatureReportProtocol(QueuedIdFlagParameters flags);
    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    QueuedIdInformation GetResult() const;

private:
    QueuedIdFlagParameters _flags;
};
} // namespace PyxProtocol
