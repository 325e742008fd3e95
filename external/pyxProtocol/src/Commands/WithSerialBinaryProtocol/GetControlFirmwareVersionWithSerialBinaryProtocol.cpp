#include "Commands/WithSerialBinaryProtocol/GetControlFirmwareVersionWithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "Commands/FirmwareVersionDecoding.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::size_t kStatusAt = 8;
}

std::vector<std::uint8_t> GetControlFirmwareVersionWithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::SerialBinary(0x09, 0x03, FirmwareVersionDecoding::kControlClass,
                                static_cast<std::uint8_t>(_moduleType));
}

bool GetControlFirmwareVersionWithSerialBinaryProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived == 0 && _responsePhrases.empty();
}

void GetControlFirmwareVersionWithSerialBinaryProtocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of GetControlFirmwareVersion before all responses were received");
    }
    if (reply->empty())
    {
        PYX_THROW(ProtocolException, "Response phrase is empty");
    }
    if (!Reply::StartsWith(*reply, {0x09, 0x03}) || !Reply::MatchesAt(*reply, kStatusAt, {0x90, 0x00}))
    {
        PYX_THROW(ProtocolException, "Invalid response phrase");
    }
}

MicrocontrollerFirmwareVersion GetControlFirmwareVersionWithSerialBinaryProtocol::GetResult() const
{
    ValidateResponse();
    return *FirmwareVersionDecoding::Microcontroller(_responsePhrases.front());
}
} // namespace PyxProtocol
