#include "Commands/WithMfp24Protocol/GetInstalledHardwareWithMfp24Protocol.h"

#include "Commands/CommandHelpers.h"
#include "Commands/InstalledHardwareDecoding.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::size_t kInstalledMaskAt = 11;
constexpr std::size_t kInstalledMaskDigits = 2;
constexpr std::size_t kSupportMaskAt = 18;
constexpr std::size_t kSupportMaskDigits = 3;
} // namespace

std::vector<std::uint8_t> GetInstalledHardwareWithMfp24Protocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::Mfp24("QSX07");
}

void GetInstalledHardwareWithMfp24Protocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->size() != Phrase::kMfp24Size)
    {
        PYX_THROW(ProtocolException, "ValidateResponse called before all response phrases were added");
    }
    if (Reply::StartsWith(*reply, {'R', 'S', 'X', '0', '7'}) && reply->back() == Phrase::kCarriageReturn)
    {
        return;
    }
    if (reply->front() == 'E')
    {
        PYX_THROW(ProtocolException, "Received an error packet or the reader does not support this command.");
    }
    PYX_THROW(ProtocolException, "Invalid response received");
}

InstalledHardwareInformation GetInstalledHardwareWithMfp24Protocol::GetResult() const
{
    ValidateResponse();
    const Bytes& reply = _responsePhrases.front();
    return InstalledHardwareDecoding::FromMasks(
        InstalledHardwareDecoding::LenientHex(reply, kSupportMaskAt, kSupportMaskDigits),
        static_cast<std::uint8_t>(
            InstalledHardwareDecoding::LenientHex(reply, kInstalledMaskAt, kInstalledMaskDigits)));
}
} // namespace PyxProtocol
