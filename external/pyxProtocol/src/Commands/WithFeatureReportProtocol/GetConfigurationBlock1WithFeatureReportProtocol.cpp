#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock1WithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
bool GetConfigurationBlock1WithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < 1;
}

std::vector<std::uint8_t> GetConfigurationBlock1WithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x80});
}

bool GetConfigurationBlock1WithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < 1;
}

ReaderConfigurationBlock1 GetConfigurationBlock1WithFeatureReportProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "Get Configuration block 1 command response was empty.");
    }
    if (!Reply::HasAtLeast(*reply, ConfigurationBlockSize))
    {
        PYX_THROW(ProtocolException, "Get Configuration block 1 command response was shorter than 8 bytes.");
    }
    return ReaderConfigurationBlock1::FromVector(*reply);
}
} // namespace PyxProtocol
