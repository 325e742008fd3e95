#include "Commands/WithFeatureReportProtocol/GetSupportedCardsWithFeatureReportProtocol.h"

#include <fmt/format.h>

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
// The end of the list is two zero bytes in a row anywhere in the page, not only an aligned zero code.
bool EndsList(const Bytes& page)
{
    for (std::size_t i = 0; i + 1 < page.size(); ++i)
    {
        if (page[i] == 0x00 && page[i + 1] == 0x00)
        {
            return true;
        }
    }
    return false;
}
} // namespace

bool GetSupportedCardsWithFeatureReportProtocol::HasCommandPhrase()
{
    if (_responsePhrases.empty())
    {
        return true;
    }
    if (EndsList(_responsePhrases.back()))
    {
        return false;
    }
    if (_commandPhrasesSent >= kMaxPages)
    {
        PYX_THROW(ProtocolException, "The reader did not end the list of supported cards within 256 pages.");
    }
    return true;
}

std::vector<std::uint8_t> GetSupportedCardsWithFeatureReportProtocol::NextCommandPhrase()
{
    const auto page = static_cast<std::uint8_t>(_commandPhrasesSent++);
    return Phrase::FeatureReport({0x89, 0x04, page});
}

bool GetSupportedCardsWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived != _commandPhrasesSent;
}

std::vector<std::uint16_t> GetSupportedCardsWithFeatureReportProtocol::GetResult() const
{
    std::vector<std::uint16_t> codes;
    for (std::size_t index = 0; index < _responsePhrases.size(); ++index)
    {
        const Bytes& page = _responsePhrases[index];
        if (page.size() % 2 != 0)
        {
            PYX_THROW(
                ProtocolException,
                fmt::format("Invalid response phrase at index {} for GetSupportedCards command: {} bytes is "
                            "not a whole number of card-type codes",
                            index, page.size()));
        }
        for (std::size_t at = 0; at + 1 < page.size(); at += 2)
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
