#include "Commands/WithFeatureReportProtocol/GetControlFirmwareVersionWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "Commands/FirmwareVersionDecoding.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
std::vector<std::uint8_t> GetControlFirmwareVersionWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport(
        {0x89, 0x03, FirmwareVersionDecoding::kControlClass, static_cast<std::uint8_t>(_moduleType)});
}

bool GetControlFirmwareVersionWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived == 0 && _responsePhrases.empty();
}

MicrocontrollerFirmwareVersion GetControlFirmwareVersionWithFeatureReportProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of GetControlFirmwareVersion before all responses were received");
    }
    const auto version = FirmwareVersionDecoding::Microcontroller(*reply);
    if (!version)
    {
        PYX_THROW(ProtocolException, "Invalid response phrase");
    }
    return *version;
}
} // namespace PyxProtocol
