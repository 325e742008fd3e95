#include "Commands/WithMfp24Protocol/GetSupportedCardsWithMfp24Protocol.h"

#include <fmt/format.h>

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::size_t kFirstGroupAt = 3;
constexpr std::size_t kGroupSize = 4;
constexpr std::size_t kGroupsPerPage = 5;

std::string_view GroupAt(const Bytes& page, std::size_t at)
{
    return {reinterpret_cast<const char*>(page.data()) + at, kGroupSize};
}

bool EndsList(const Bytes& page)
{
    for (std::size_t g = 0; g < kGroupsPerPage; ++g)
    {
        const std::size_t at = kFirstGroupAt + g * kGroupSize;
        if (at + kGroupSize <= page.size() && GroupAt(page, at) == "0000")
        {
            return true;
        }
    }
    return false;
}

bool IsValidPage(const Bytes& page)
{
    return page.size() == Phrase::kMfp24Size && Reply::StartsWith(page, {'R', 'C', 'T'}) &&
           page.back() == Phrase::kCarriageReturn;
}
} // namespace

bool GetSupportedCardsWithMfp24Protocol::HasCommandPhrase()
{
    if (_responsePhrases.empty())
    {
        return true;
    }
    const Bytes& last = _responsePhrases.back();
    if (EndsList(last) || !IsValidPage(last))
    {
        return false;
    }
    if (_commandPhrasesSent >= kMaxPages)
    {
        PYX_THROW(ProtocolException, "The reader did not end the list of supported cards within 256 pages.");
    }
    return true;
}

std::vector<std::uint8_t> GetSupportedCardsWithMfp24Protocol::NextCommandPhrase()
{
    const int page = _commandPhrasesSent++;
    return Phrase::Mfp24(fmt::format("QCT{:02X}", page));
}

bool GetSupportedCardsWithMfp24Protocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < _commandPhrasesSent;
}

void GetSupportedCardsWithMfp24Protocol::ValidateResponse() const
{
    if (_responsePhrases.empty())
    {
        PYX_THROW(ProtocolException, "GetSupportedCardsWithMfp24Protocol command response was empty.");
    }
    for (const Bytes& page : _responsePhrases)
    {
        if (Reply::StartsWith(page, {'E', 'C', 'T'}))
        {
            PYX_THROW(ProtocolException, "Error called GetSupportedCardsWithMfp24Protocol on ZEK1 reader.");
        }
        if (!IsValidPage(page))
        {
            PYX_THROW(ProtocolException, "GetSupportedCardsWithMfp24Protocol invalid response phrase.");
        }
    }
}

std::vector<std::uint16_t> GetSupportedCardsWithMfp24Protocol::GetResult() const
{
    std::vector<std::uint16_t> codes;
    for (const Bytes& page : _responsePhrases)
    {
        for (std::size_t at = kFirstGroupAt; at + kGroupSize <= page.size(); at += kGroupSize)
        {
            const std::string_view group = GroupAt(page, at);
            if (group == "0000")
            {
                return codes;
            }
            codes.push_back(hexStringToUint16(group));
        }
    }
    return codes;
}

std::uint16_t GetSupportedCardsWithMfp24Protocol::hexStringToUint16(std::string_view digits)
{
    std::uint16_t value = 0;
    for (const char c : digits.substr(0, kGroupSize))
    {
        std::uint16_t digit = 0;
        if (c >= '0' && c <= '9')
        {
            digit = static_cast<std::uint16_t>(c - '0');
        }
        else if (c >= 'A' && c <= 'F')
        {
            digit = static_cast<std::uint16_t>(c - 'A' + 10);
        }
        else if (c >= 'a' && c <= 'f')
        {
            digit = static_cast<std::uint16_t>(c - 'a' + 10);
        }
        else
        {
            PYX_THROW(ProtocolException, "Invalid hex character.");
        }
        value = static_cast<std::uint16_t>((value << 4) | digit);
    }
    return value;
}
} // namespace PyxProtocol
