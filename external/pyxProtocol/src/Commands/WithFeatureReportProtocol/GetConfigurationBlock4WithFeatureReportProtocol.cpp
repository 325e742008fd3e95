#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock4WithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
bool GetConfigurationBlock4WithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < 1;
}

std::vector<std::uint8_t> GetConfigurationBlock4WithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x83});
}

bool GetConfigurationBlock4WithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < 1;
}

ReaderConfigurationBlock4 GetConfigurationBlock4WithFeatureReportProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "Get Configuration block 4 command response was empty.");
    }
    if (!Reply::HasAtLeast(*reply, ConfigurationBlockSize))
    {
        PYX_THROW(ProtocolException, "Get Configuration block 4 command response was shorter than 8 bytes.");
    }
    return ReaderConfigurationBlock4::FromVector(*reply);
}
} // namespace PyxProtocol
