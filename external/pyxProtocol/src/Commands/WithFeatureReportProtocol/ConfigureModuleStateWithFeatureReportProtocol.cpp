#include "Commands/WithFeatureReportProtocol/ConfigureModuleStateWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::size_t kStateAt = 4;
}

std::vector<std::uint8_t> ConfigureModuleStateWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    const auto state =
        _action == ReaderModuleAction::Set ? static_cast<std::uint8_t>(_state) : std::uint8_t{0};
    return Phrase::FeatureReport(
        {0x8C, 0x0B, static_cast<std::uint8_t>(_action), static_cast<std::uint8_t>(_module), state});
}

void ConfigureModuleStateWithFeatureReportProtocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "No response has been received");
    }
    if (!Reply::HasAtLeast(*reply, Phrase::kFeatureReportSize))
    {
        PYX_THROW(ProtocolException, "Response packet is too short");
    }
    if (!Reply::StartsWith(*reply, {0x8C, 0x0B, 0xFF, static_cast<std::uint8_t>(_module)}))
    {
        PYX_THROW(ProtocolException,
                  "Invalid response packet received from reader after ConfigureModuleState "
                  "command. (Does the reader support this command?)");
    }
}

ReaderModuleState ConfigureModuleStateWithFeatureReportProtocol::GetResult() const
{
    ValidateResponse();
    return static_cast<ReaderModuleState>(Reply::ByteAt(_responsePhrases.front(), kStateAt));
}
} // namespace PyxProtocol
