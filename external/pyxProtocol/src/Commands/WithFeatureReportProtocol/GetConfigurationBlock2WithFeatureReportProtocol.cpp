#include "Commands/WithFeatureReportProtocol/GetConfigurationBlock2WithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
bool GetConfigurationBlock2WithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < 1;
}

std::vector<std::uint8_t> GetConfigurationBlock2WithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x81});
}

bool GetConfigurationBlock2WithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < 1;
}

ReaderConfigurationBlock2 GetConfigurationBlock2WithFeatureReportProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "Get Configuration block 2 command response was empty.");
    }
    if (!Reply::HasAtLeast(*reply, ConfigurationBlockSize))
    {
        PYX_THROW(ProtocolException, "Get Configuration block 2 command response was shorter than 8 bytes.");
    }
    return ReaderConfigurationBlock2::FromVector(*reply);
}
} // namespace PyxProtocol
