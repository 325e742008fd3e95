#include "Commands/WithFeatureReportProtocol/EnableTransparentModeWithFeatureReportProtocol.h"

#include <algorithm>

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
std::vector<std::uint8_t> EnableTransparentModeWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x8C, 0x80, static_cast<std::uint8_t>(_enable ? 0x01 : 0x00)});
}

void EnableTransparentModeWithFeatureReportProtocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException, "No response has been received.");
    }
    if (reply->size() != Phrase::kFeatureReportSize)
    {
        PYX_THROW(ProtocolException, "Invalid response phrase size. Expected 8 bytes.");
    }
    if (std::all_of(reply->begin(), reply->end(), [](std::uint8_t b) { return b == 0x00; }))
    {
        PYX_THROW(ProtocolException, "Transparent mode is not supported on this device.");
    }
    if (*reply != Phrase::FeatureReport({0x8C, 0x80, static_cast<std::uint8_t>(_enable ? 0x01 : 0x00)}))
    {
        PYX_THROW(ProtocolException, "Invalid ACK data has been received.");
    }
}
} // namespace PyxProtocol
