#include "Commands/WithFeatureReportProtocol/GetTransparentModeStatusWithFeatureReportProtocol.h"

#include <algorithm>

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
std::vector<std::uint8_t> GetTransparentModeStatusWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x8C, 0x00});
}

void GetTransparentModeStatusWithFeatureReportProtocol::ValidateResponse() const
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
}

TransparentModeStatusInformation GetTransparentModeStatusWithFeatureReportProtocol::GetResult() const
{
    ValidateResponse();
    const Bytes& reply = _responsePhrases.front();
    if (std::all_of(reply.begin(), reply.end(), [](std::uint8_t b) { return b == 0x00; }))
    {
        return TransparentModeStatusInformation{0, TransparentModeStatus{0}, TransparentModeState{0}};
    }
    if (!Reply::StartsWith(reply, {0x8C, 0x00}))
    {
        PYX_THROW(ProtocolException, "Invalid ACK data has been received.");
    }
    return TransparentModeStatusInformation{1, static_cast<TransparentModeStatus>(Reply::ByteAt(reply, 2)),
                                            static_cast<TransparentModeState>(Reply::ByteAt(reply, 3))};
}
} // namespace PyxProtocol
