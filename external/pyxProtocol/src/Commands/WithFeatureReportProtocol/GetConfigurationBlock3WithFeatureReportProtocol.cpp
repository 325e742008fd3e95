#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock3WithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
bool GetConfigurationBlock3WithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < 1;
}

std::vector<std::uint8_t> GetConfigurationBlock3WithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x82});
}

bool GetConfigurationBlock3WithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < 1;
}

ReaderConfigurationBlock3 GetConfigurationBlock3WithFeatureReportProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "Get Configuration block 3 command response was empty.");
    }
    if (!Reply::HasAtLeast(*reply, ConfigurationBlockSize))
    {
        PYX_THROW(ProtocolException, "Get Configuration block 3 command response was shorter than 8 bytes.");
    }
    return ReaderConfigurationBlock3::FromVector(*reply);
}
} // namespace PyxProtocol
