#include "Commands/WithSerialBinaryProtocol/SetBeeperVolumeWithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
SetBeeperVolumeWithSerialBinaryProtocol::SetBeeperVolumeWithSerialBinaryProtocol(BeepVolume volume)
    : _volume(static_cast<std::uint8_t>(volume))
{
}

std::vector<std::uint8_t> SetBeeperVolumeWithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    // This request carries P3 = 00 and one more zero byte: six bytes in all.
    const std::uint8_t trailing[] = {0x00};
    return Phrase::SerialBinary(0x0C, 0x86, _volume, 0x00, trailing);
}

void SetBeeperVolumeWithSerialBinaryProtocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "SetBeeperVolume command response was empty.");
    }
    if (!Reply::StartsWith(*reply, {0x0C, 0x90, 0x00}))
    {
        PYX_THROW(ProtocolException, "Invalid response received");
    }
}
} // namespace PyxProtocol
