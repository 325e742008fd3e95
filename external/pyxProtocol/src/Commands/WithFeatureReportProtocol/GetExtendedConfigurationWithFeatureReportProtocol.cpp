#include "Commands/WithFeatureReportProtocol/GetExtendedConfigurationWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "Commands/ExtendedConfigurationRules.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::uint8_t kCommand = 0x85;
} // namespace

void GetExtendedConfigurationWithFeatureReportProtocol::Reset()
{
    FeatureReportCommand::Reset();
    headerKnown_ = false;
    header_ = {};
}

bool GetExtendedConfigurationWithFeatureReportProtocol::HasCommandPhrase()
{
    // Until the header has arrived only its chunk is asked for.
    const std::int32_t phrases = headerKnown_ ? header_.MaxStorageSize : 1;
    return _commandPhrasesSent < phrases;
}

std::vector<std::uint8_t> GetExtendedConfigurationWithFeatureReportProtocol::NextCommandPhrase()
{
    const auto chunk = static_cast<std::uint8_t>(_commandPhrasesSent++);
    return Phrase::FeatureReport({kCommand, chunk, 0x00, 0x10});
}

void GetExtendedConfigurationWithFeatureReportProtocol::AddResponsePhrase(std::vector<std::uint8_t> phrase)
{
    if (_responsePhrasesReceived == 0)
    {
        validateAndParseHeaderResponse(phrase);
    }
    FeatureReportCommand::AddResponsePhrase(std::move(phrase));
}

bool GetExtendedConfigurationWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < _commandPhrasesSent;
}

void GetExtendedConfigurationWithFeatureReportProtocol::ValidateResponse() const
{
    if (!headerKnown_ || _responsePhrases.size() != header_.MaxStorageSize)
    {
        PYX_THROW(ProtocolException, "Invalid response has been received from reader while executing "
                                     "GetExtendedConfiguration command");
    }
    for (const Bytes& reply : _responsePhrases)
    {
        if (reply.size() != Phrase::kFeatureReportSize)
        {
            PYX_THROW(ProtocolException, "Invalid response phrase received from reader while executing "
                                         "GetExtendedConfiguration command");
        }
    }
}

PyxCommon::ExtendedConfiguration GetExtendedConfigurationWithFeatureReportProtocol::GetResult() const
{
    ValidateResponse();
    std::vector<std::uint8_t> block;
    block.reserve(_responsePhrases.size() * Phrase::kFeatureReportSize);
    for (const Bytes& reply : _responsePhrases)
    {
        block.insert(block.end(), reply.begin(), reply.end());
    }
    return PyxCommon::ExtendedConfiguration::FromVector(block);
}

void GetExtendedConfigurationWithFeatureReportProtocol::validateAndParseHeaderResponse(
    const std::vector<std::uint8_t>& reply)
{
    if (reply.size() != Phrase::kFeatureReportSize)
    {
        PYX_THROW(ProtocolException, "Invalid Header response received from reader while executing "
                                     "GetExtendedConfiguration command");
    }
    const auto header = ReadableExtendedConfigurationHeader(reply, 0);
    if (!header)
    {
        PYX_THROW(
            ProtocolException,
            "Invalid Header data received from reader while executing GetExtendedConfiguration command");
    }
    header_ = *header;
    headerKnown_ = true;
}
} // namespace PyxProtocol
