#include "Commands/WithFeatureReportProtocol/GetCardDataWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::size_t kDataSize = 32;
constexpr std::size_t kBytesPerReply = 8;
} // namespace

GetCardDataWithFeatureReportProtocol::GetCardDataWithFeatureReportProtocol(GetCardDataSizeParameters size)
    : _size(size)
{
}

bool GetCardDataWithFeatureReportProtocol::HasCommandPhrase()
{
    switch (_size)
    {
    case GetCardDataSizeParameters::CARD_DATA_SIZE_8_BYTES:
        return _commandPhrasesSent < 1;
    case GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES:
        return _commandPhrasesSent < 4;
    }
    return false;
}

std::vector<std::uint8_t> GetCardDataWithFeatureReportProtocol::NextCommandPhrase()
{
    switch (_size)
    {
    case GetCardDataSizeParameters::CARD_DATA_SIZE_8_BYTES:
        ++_commandPhrasesSent;
        return Phrase::FeatureReport({0x8F});
    case GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES:
    {
        const auto page = static_cast<std::uint8_t>(_commandPhrasesSent++);
        return Phrase::FeatureReport({0x8D, page});
    }
    }
    PYX_THROW(ProtocolException, "Unsupported card data read size requested by GetCardData command.");
}

bool GetCardDataWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < _commandPhrasesSent;
}

std::vector<std::uint8_t> GetCardDataWithFeatureReportProtocol::GetResult() const
{
    std::vector<std::uint8_t> data(kDataSize, 0x00);
    for (std::size_t n = 0; n < _responsePhrases.size(); ++n)
    {
        // Each reply owns its 8-byte slot: a longer reply is cut, a shorter one leaves zeros.
        Reply::CopyBounded(_responsePhrases[n], 0, kBytesPerReply, data, n * kBytesPerReply);
    }
    return data;
}
} // namespace PyxProtocol
