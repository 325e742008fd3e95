#include "Commands/WithFeatureReportProtocol/GetSamFirmwareVersionWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "Commands/FirmwareVersionDecoding.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
std::vector<std::uint8_t> GetSamFirmwareVersionWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport(
        {0x89, 0x03, FirmwareVersionDecoding::kSamClass, static_cast<std::uint8_t>(_moduleType)});
}

bool GetSamFirmwareVersionWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived == 0 && _responsePhrases.empty();
}

FelicaSamFirmwareVersion GetSamFirmwareVersionWithFeatureReportProtocol::GetFelicaSamResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of GetSamFirmwareVersion before all responses were received");
    }
    const auto version = FirmwareVersionDecoding::FelicaSam(*reply);
    if (!version)
    {
        PYX_THROW(ProtocolException, "Invalid response phrase");
    }
    return *version;
}

MicrocontrollerFirmwareVersion
GetSamFirmwareVersionWithFeatureReportProtocol::GetMicrocontrollerResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of GetSamFirmwareVersion before all responses were received");
    }
    const auto version = FirmwareVersionDecoding::Microcontroller(*reply);
    if (!version)
    {
        PYX_THROW(ProtocolException, "Invalid response phrase");
    }
    return *version;
}
} // namespace PyxProtocol
