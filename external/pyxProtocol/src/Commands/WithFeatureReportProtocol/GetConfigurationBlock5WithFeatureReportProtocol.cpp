#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock5WithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
bool GetConfigurationBlock5WithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < 1;
}

std::vector<std::uint8_t> GetConfigurationBlock5WithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x84});
}

bool GetConfigurationBlock5WithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < 1;
}

ReaderConfigurationBlock5 GetConfigurationBlock5WithFeatureReportProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "Get Configuration block 5 command response was empty.");
    }
    if (!Reply::HasAtLeast(*reply, ConfigurationBlockSize))
    {
        PYX_THROW(ProtocolException, "Get Configuration block 5 command response was shorter than 8 bytes.");
    }
    return ReaderConfigurationBlock5::FromVector(*reply);
}
} // namespace PyxProtocol
