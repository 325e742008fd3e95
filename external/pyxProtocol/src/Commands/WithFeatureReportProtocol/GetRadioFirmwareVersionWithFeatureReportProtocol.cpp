#include "Commands/WithFeatureReportProtocol/GetRadioFirmwareVersionWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "Commands/FirmwareVersionDecoding.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
std::vector<std::uint8_t> GetRadioFirmwareVersionWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport(
        {0x89, 0x03, FirmwareVersionDecoding::kRadioClass, static_cast<std::uint8_t>(_moduleType)});
}

MicrocontrollerFirmwareVersion GetRadioFirmwareVersionWithFeatureReportProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of GetRadioFirmwareVersion before all responses were received");
    }
    const auto version = FirmwareVersionDecoding::Microcontroller(*reply);
    if (!version)
    {
        PYX_THROW(ProtocolException, "Invalid response phrase");
    }
    return *version;
}
} // namespace PyxProtocol
