#include "Commands/WithMfp24Protocol/GetBluetoothFirmwareVersionWithMfp24Protocol.h"

#include <fmt/format.h>

#include "Commands/CommandHelpers.h"
#include "Commands/FirmwareVersionDecoding.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
std::vector<std::uint8_t> GetBluetoothFirmwareVersionWithMfp24Protocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::Mfp24("QSX05");
}

BluetoothFirmwareVersion GetBluetoothFirmwareVersionWithMfp24Protocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(
            ProtocolException,
            "Attempted to get result of GetBluetoothFirmwareVersion before all responses were received");
    }
    const auto version = FirmwareVersionDecoding::BluetoothMfp24(*reply, _moduleType);
    if (!version)
    {
        PYX_THROW(ProtocolException,
                  fmt::format("Invalid response received: expected at least {} characters but received {}",
                              FirmwareVersionDecoding::kMfp24BluetoothReplySize, reply->size()));
    }
    return *version;
}
} // namespace PyxProtocol
