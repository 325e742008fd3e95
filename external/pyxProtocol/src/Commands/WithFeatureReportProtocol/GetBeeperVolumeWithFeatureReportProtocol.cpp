#include "Commands/WithFeatureReportProtocol/GetBeeperVolumeWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::size_t kVolumeAt = 2;
}

std::vector<std::uint8_t> GetBeeperVolumeWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x8C, 0x06});
}

BeepVolume GetBeeperVolumeWithFeatureReportProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException, "No response has been received. Did you execute the command?");
    }
    if (!Reply::HasAtLeast(*reply, kVolumeAt + 1))
    {
        PYX_THROW(ProtocolException, "Invalid response received");
    }
    return static_cast<BeepVolume>(Reply::ByteAt(*reply, kVolumeAt));
}
} // namespace PyxProtocol
