#pragma once

#include <string_view>

#include "Commands/Command.h"

namespace PyxProtocol
{
// The card-type codes the reader can read, page after page: RCT, five codes of four hex digits, CR.
class GetSupportedCardsWithMfp24Protocol : public Mfp24Command
{
public:
    // The page number goes out as two hex digits: a list not ended by page FF never will be.
    static constexpr int kMaxPages = 256;

    // True until a page holds the group 0000, or a reply is no valid page (ValidateResponse reports it);
    // throws when kMaxPages pages brought no end.
    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    void ValidateResponse() const;
    // The codes of every page up to the first group 0000.
    std::vector<std::uint16_t> GetResult() const;

    // Four hex digits (0-9, A-F, a-f), first highest; anything else throws.
    static std::uint16_t hexStringToUint16(std::string_view digits);
};
} // namespace PyxProtocol
