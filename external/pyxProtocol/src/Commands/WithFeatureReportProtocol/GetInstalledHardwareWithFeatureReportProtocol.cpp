#include "Commands/WithFeatureReportProtocol/GetInstalledHardwareWithFeatureReportProtocol.h"

#include <fmt/format.h>

#include "Commands/CommandHelpers.h"
#include "Commands/InstalledHardwareDecoding.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::size_t kInstalledMaskAt = 0;
constexpr std::size_t kSupportMaskAt = 4;
constexpr std::size_t kBytesRead = kSupportMaskAt + 2;
} // namespace

std::vector<std::uint8_t> GetInstalledHardwareWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x89, 0x05});
}

bool GetInstalledHardwareWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived != _commandPhrasesSent;
}

InstalledHardwareInformation GetInstalledHardwareWithFeatureReportProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException, "No response received from reader after GetInstalledHardware command");
    }
    if (!Reply::HasAtLeast(*reply, kBytesRead))
    {
        PYX_THROW(
            ProtocolException,
            fmt::format("Response to GetInstalledHardware command is too short: expected at least {} bytes "
                        "but received {}",
                        kBytesRead, reply->size()));
    }
    return InstalledHardwareDecoding::FromMasks(Reply::LittleEndian16(*reply, kSupportMaskAt),
                                                Reply::ByteAt(*reply, kInstalledMaskAt));
}
} // namespace PyxProtocol
