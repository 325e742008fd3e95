#include "Commands/WithFeatureReportProtocol/GetBluetoothFirmwareVersionWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "Commands/FirmwareVersionDecoding.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
std::vector<std::uint8_t> GetBluetoothFirmwareVersionWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport(
        {0x89, 0x03, FirmwareVersionDecoding::kBluetoothClass, static_cast<std::uint8_t>(_moduleType)});
}

BluetoothFirmwareVersion GetBluetoothFirmwareVersionWithFeatureReportProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(
            ProtocolException,
            "Attempted to get result of GetBluetoothFirmwareVersion before all responses were received");
    }
    const auto version = FirmwareVersionDecoding::Bluetooth(*reply);
    if (!version)
    {
        PYX_THROW(ProtocolException, "Invalid response phrase");
    }
    return *version;
}
} // namespace PyxProtocol
