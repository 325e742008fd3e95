#include "Commands/WithFeatureReportProtocol/GetLuidWithFeatureReportProtocol.h"

#include <fmt/format.h>

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::size_t kReplySize = 8;
}

std::vector<std::uint8_t> GetLuidWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x8A});
}

void GetLuidWithFeatureReportProtocol::ValidateResponse() const
{
    if (_responsePhrases.empty())
    {
        PYX_THROW(ProtocolException, "No response received from device. Was this command actually executed?");
    }
}

LuidResponseInformation GetLuidWithFeatureReportProtocol::GetResult() const
{
    if (_responsePhrasesReceived < 1 || _commandPhrasesSent < 1)
    {
        PYX_THROW(ProtocolException,
                  "Command is not finished. Please complete the command before retrieving the result.");
    }
    const Bytes& reply = _responsePhrases.front();
    if (!Reply::HasAtLeast(reply, kReplySize))
    {
        PYX_THROW(ProtocolException,
                  fmt::format("Response to GetLuid command is too short: expected {} bytes but received {}",
                              kReplySize, reply.size()));
    }
    return LuidResponseInformation{Reply::LittleEndian16(reply, 0), Reply::LittleEndian16(reply, 2),
                                   Reply::BigEndian32(reply, 4)};
}
} // namespace PyxProtocol
