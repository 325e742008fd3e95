#include "Commands/WithFeatureReportProtocol/SetBeeperVolumeWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
SetBeeperVolumeWithFeatureReportProtocol::SetBeeperVolumeWithFeatureReportProtocol(BeepVolume volume)
    : _volume(static_cast<std::uint8_t>(volume))
{
}

bool SetBeeperVolumeWithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent == 0;
}

std::vector<std::uint8_t> SetBeeperVolumeWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x8C, 0x86, _volume});
}

bool SetBeeperVolumeWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived == 0;
}

void SetBeeperVolumeWithFeatureReportProtocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException, "No response received");
    }
    if (!Reply::Equals(*reply, {0x8C, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}))
    {
        PYX_THROW(ProtocolException, "Invalid response received");
    }
}
} // namespace PyxProtocol
