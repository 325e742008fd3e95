#pragma once

#include "Commands/Command.h"

namespace PyxProtocol
{
// The card-type codes the reader can read, page after page, four codes a page, low byte first.
class GetSupportedCardsWithFeatureReportProtocol : public Command
{
public:
    // The page number of a request is one byte: a list not ended by page 255 never will be.
    static constexpr int kMaxPages = 256;

    // True until a page holds two zero bytes in a row; throws when kMaxPages pages brought no end.
    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    // Every non-zero code of every page in the reader's order; a page of odd length is refused.
    std::vector<std::uint16_t> GetResult() const;
};
} // namespace PyxProtocol
