#include "Commands/WithFeatureReportProtocol/GetActiveConfigurationWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr const char* kNoResponse =
    "Response validation of ActiveConfigurationInformation failed because the "
    "command did not receive a response from the reader.";
}

std::vector<std::uint8_t> GetActiveConfigurationWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x89, 0x01});
}

void GetActiveConfigurationWithFeatureReportProtocol::ValidateResponse()
{
    if (ExpectsResponsePhrase())
    {
        PYX_THROW(ProtocolException, "Response validation of ActiveConfigurationInformation cannot occur "
                                     "until the command is finished.");
    }
    if (_responsePhrases.size() != 1 || _responsePhrases[0].size() != Phrase::kFeatureReportSize)
    {
        PYX_THROW(ProtocolException, kNoResponse);
    }
    if (!Reply::StartsWith(_responsePhrases[0], {0x89, 0x01}))
    {
        PYX_THROW(ProtocolException, "Invalid response packet received for GetActiveConfiguration command.");
    }
}

ActiveConfigurationInformation GetActiveConfigurationWithFeatureReportProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || !Reply::HasAtLeast(*reply, Phrase::kFeatureReportSize))
    {
        PYX_THROW(ProtocolException, kNoResponse);
    }
    // Byte 4 carries nothing the library uses.
    return {Reply::ByteAt(*reply, 2), Reply::ByteAt(*reply, 3), Reply::LittleEndian16(*reply, 5),
            Reply::ByteAt(*reply, 7)};
}
} // namespace PyxProtocol
