#include "Commands/WithSerialBinaryProtocol/GetSupportedCardsWithSerialBinaryProtocol.h"

#include <fmt/format.h>

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::size_t kFirstCodeAt = 3;
constexpr std::size_t kStatusAt = 11;
constexpr std::size_t kMinimumPageSize = kStatusAt + 1;
// Neither the codes nor the end test reach into the last two bytes of a page (status and one more).
constexpr std::size_t kTrailerSize = 2;

bool IsValidPage(const Bytes& page)
{
    return Reply::HasAtLeast(page, kMinimumPageSize) && Reply::StartsWith(page, {0x09, 0x04}) &&
           Reply::ByteAt(page, kStatusAt) == 0x90;
}

// Two zero bytes in a row from byte 2 on, up to the byte before the trailer; unaligned, like the
// FeatureReport test.
bool EndsList(const Bytes& page)
{
    for (std::size_t i = 2; i + 1 + kTrailerSize < page.size(); ++i)
    {
        if (page[i] == 0x00 && page[i + 1] == 0x00)
        {
            return true;
        }
    }
    return false;
}
} // namespace

bool GetSupportedCardsWithSerialBinaryProtocol::HasCommandPhrase()
{
    if (_responsePhrases.empty())
    {
        return true;
    }
    const Bytes& last = _responsePhrases.back();
    if (!IsValidPage(last) || EndsList(last))
    {
        return false;
    }
    if (_commandPhrasesSent >= kMaxPages)
    {
        PYX_THROW(ProtocolException, "The reader did not end the list of supported cards within 256 pages.");
    }
    return true;
}

std::vector<std::uint8_t> GetSupportedCardsWithSerialBinaryProtocol::NextCommandPhrase()
{
    const auto page = static_cast<std::uint8_t>(_commandPhrasesSent++);
    return Phrase::SerialBinary(0x09, 0x04, page, 0x00);
}

bool GetSupportedCardsWithSerialBinaryProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived != _commandPhrasesSent;
}

void GetSupportedCardsWithSerialBinaryProtocol::ValidateResponse() const
{
    if (_responsePhrases.empty())
    {
        PYX_THROW(ProtocolException, "No response received from reader after GetSupportedCards command");
    }
    for (std::size_t index = 0; index < _responsePhrases.size(); ++index)
    {
        const Bytes& page = _responsePhrases[index];
        if (page.empty())
        {
            PYX_THROW(ProtocolException, fmt::format("Response phrase at index {} is empty", index));
        }
        if (!IsValidPage(page))
        {
            PYX_THROW(
                ProtocolException,
                fmt::format("Invalid ACK data received from reader after GetSupportedCards command (response "
                            "phrase at index {})",
                            index));
        }
    }
}

std::vector<std::uint16_t> GetSupportedCardsWithSerialBinaryProtocol::GetResult() const
{
    std::vector<std::uint16_t> codes;
    for (const Bytes& page : _responsePhrases)
    {
        for (std::size_t at = kFirstCodeAt; at + 1 + kTrailerSize < page.size(); at += 2)
        {
            const std::uint16_t code = Reply::LittleEndian16(page, at);
            if (code != 0)
            {
                codes.push_back(code);
            }
        }
    }
    return codes;
}
} // namespace PyxProtocol
