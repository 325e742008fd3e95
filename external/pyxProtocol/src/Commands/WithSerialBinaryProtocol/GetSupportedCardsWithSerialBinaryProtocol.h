#pragma once

#include "Commands/Command.h"

namespace PyxProtocol
{
// The card-type codes the reader can read, page after page: the echo 09 04, a byte, four codes low byte
// first, and the status.
class GetSupportedCardsWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    // The page number of a request is one byte: a list not ended by page 255 never will be.
    static constexpr int kMaxPages = 256;

    // True until a page holds two zero bytes in a row, or a reply is no valid page (the reader refused or
    // failed: ValidateResponse reports it); throws when kMaxPages pages brought no end.
    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    void ValidateResponse() const;
    // Every non-zero code of every page in the reader's order.
    std::vector<std::uint16_t> GetResult() const;
};
} // namespace PyxProtocol
