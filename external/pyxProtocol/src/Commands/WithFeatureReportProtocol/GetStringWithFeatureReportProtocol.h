#pragma once

#include <string>

#include "Commands/Command.h"
#include "Operations/Identification.h"

namespace PyxProtocol
{
// One of the reader's indexed strings, read in 8-byte pieces until a piece holds a zero byte.
class GetStringWithFeatureReportProtocol : public Command
{
public:
    // The sequence byte of a request counts 0 to 255: a reader that has not ended its text by then never
    // will.
    static constexpr int kMaxPhrases = 256;

    explicit GetStringWithFeatureReportProtocol(GetStringIndex index) : _index(index) {}

    // True until a reply holds a zero byte; throws when kMaxPhrases replies brought none.
    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    void ValidateResponse() const;
    // The bytes of all replies in order, up to the first zero byte.
    std::string GetResult() const;

private:
    // Whether the reply holds a zero byte; an empty reply throws.
    static bool ReverseSeekNullTerminator(const std::vector<std::uint8_t>& phrase);

    GetStringIndex _index;
};
} // namespace PyxProtocol
