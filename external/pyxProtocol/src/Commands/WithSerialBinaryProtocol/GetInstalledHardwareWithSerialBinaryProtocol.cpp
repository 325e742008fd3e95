#include "Commands/WithSerialBinaryProtocol/GetInstalledHardwareWithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "Commands/InstalledHardwareDecoding.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::size_t kInstalledMaskAt = 2;
constexpr std::size_t kSupportMaskAt = 6;
constexpr std::size_t kStatusAt = 10;
constexpr std::size_t kReplySize = kStatusAt + 2;
} // namespace

std::vector<std::uint8_t> GetInstalledHardwareWithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::SerialBinary(0x09, 0x05, 0x00, 0x00);
}

bool GetInstalledHardwareWithSerialBinaryProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived != _commandPhrasesSent;
}

void GetInstalledHardwareWithSerialBinaryProtocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException, "No response received from reader after GetInstalledHardware command");
    }
    if (reply->empty())
    {
        PYX_THROW(ProtocolException, "Response phrase is empty");
    }
    if (!Reply::HasAtLeast(*reply, kReplySize) || !Reply::StartsWith(*reply, {0x09, 0x05}) ||
        !Reply::MatchesAt(*reply, kStatusAt, {0x90, 0x00}))
    {
        PYX_THROW(ProtocolException, "Invalid response phrase");
    }
}

InstalledHardwareInformation GetInstalledHardwareWithSerialBinaryProtocol::GetResult() const
{
    ValidateResponse();
    const Bytes& reply = _responsePhrases.front();
    return InstalledHardwareDecoding::FromMasks(Reply::LittleEndian16(reply, kSupportMaskAt),
                                                Reply::ByteAt(reply, kInstalledMaskAt));
}
} // namespace PyxProtocol
