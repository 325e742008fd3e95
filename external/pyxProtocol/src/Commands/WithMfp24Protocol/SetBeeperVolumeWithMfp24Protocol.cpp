#include "Commands/WithMfp24Protocol/SetBeeperVolumeWithMfp24Protocol.h"

#include <string>

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
SetBeeperVolumeWithMfp24Protocol::SetBeeperVolumeWithMfp24Protocol(BeepVolume volume)
    : _volume(static_cast<std::uint8_t>(volume))
{
}

std::vector<std::uint8_t> SetBeeperVolumeWithMfp24Protocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    const std::string text{'B', 'V', static_cast<char>('0' + _volume)};
    return Phrase::Mfp24(text);
}

void SetBeeperVolumeWithMfp24Protocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->size() != Phrase::kMfp24Size)
    {
        PYX_THROW(ProtocolException, "SetBeeperVolume command response was empty.");
    }
    const auto volumeDigit = static_cast<std::uint8_t>('0' + _volume);
    if (!Reply::StartsWith(*reply, {'R', 'V', volumeDigit}) ||
        !Reply::MatchesAt(*reply, Phrase::kMfp24Size - 1, {Phrase::kCarriageReturn}))
    {
        PYX_THROW(ProtocolException, "Invalid response received");
    }
}
} // namespace PyxProtocol
