#pragma once

#include <string>

#include "Commands/Command.h"
#include "Operations/Identification.h"

namespace PyxProtocol
{
// One of the reader's indexed strings, read piece by piece behind a 0C echo until a piece holds a zero byte.
class GetStringWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    // The sequence byte of a request counts 0 to 255: a reader that has not ended its text by then never
    // will.
    static constexpr int kMaxPhrases = 256;

    explicit GetStringWithSerialBinaryProtocol(GetStringIndex index) : _index(index) {}

    // True until a reply holds a zero byte, or the first reply is a refusal rather than text; throws when
    // kMaxPhrases replies brought no end.
    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    void ValidateResponse() const;
    // The bytes of all replies in order without any 0C byte, up to the first zero byte.
    std::string GetResult() const;

private:
    // Whether the reply holds a zero byte; an empty reply throws.
    static bool ReverseSeekNullTerminator(const std::vector<std::uint8_t>& phrase);

    GetStringIndex _index;
};
} // namespace PyxProtocol
