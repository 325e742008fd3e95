#pragma once

#include "Commands/Command.h"
#include "Operations/CardData.h"

namespace PyxProtocol
{
// Second step of a card read: the data bytes, in one phrase (size 1) or four (size 2), a reply after each.
class GetCardDataWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    explicit GetCardDataWithFeatureReportProtocol(GetCardDataSizeParameters size);
    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    // 32 bytes: reply n at 8n, zero behind what the reader sent.
    std::vector<std::uint8_t> GetResult() const;

private:
    GetCardDataSizeParameters _size;
};
} // namespace PyxProtocol
