#include "Commands/WithSerialBinaryProtocol/GetBeeperVolumeWithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::uint8_t kInstruction = 0x0C;
constexpr std::size_t kVolumeAt = 1;
} // namespace

std::vector<std::uint8_t> GetBeeperVolumeWithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::SerialBinary(kInstruction, 0x06, 0x00, 0x00);
}

void GetBeeperVolumeWithSerialBinaryProtocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of GetBeeperVolume before all responses were received");
    }
    if (reply->empty())
    {
        PYX_THROW(ProtocolException, "Response phrase is empty");
    }
    // The echo alone, without the volume behind it, is no answer either.
    if (!Reply::HasAtLeast(*reply, kVolumeAt + 1) || (*reply)[0] != kInstruction)
    {
        PYX_THROW(ProtocolException, "Invalid response phrase");
    }
}

BeepVolume GetBeeperVolumeWithSerialBinaryProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of GetBeeperVolume before all responses were received");
    }
    if (!Reply::HasAtLeast(*reply, kVolumeAt + 1))
    {
        PYX_THROW(ProtocolException, "Invalid response phrase");
    }
    return static_cast<BeepVolume>(Reply::ByteAt(*reply, kVolumeAt));
}
} // namespace PyxProtocol
