#include "Commands/WithSerialBinaryProtocol/SetLuidWithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr int kPhraseCount = 2;
constexpr std::uint8_t kInstruction = 0x06;
constexpr std::uint8_t kTimeout = 0x6B;
} // namespace

bool SetLuidWithSerialBinaryProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < kPhraseCount;
}

std::vector<std::uint8_t> SetLuidWithSerialBinaryProtocol::NextCommandPhrase()
{
    if (_commandPhrasesSent++ == 0)
    {
        return Phrase::SerialBinary(kInstruction, 0x00, 0x00, 0x02);
    }
    return {static_cast<std::uint8_t>(_luid & 0xFF), static_cast<std::uint8_t>(_luid >> 8)};
}

bool SetLuidWithSerialBinaryProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < _commandPhrasesSent;
}

void SetLuidWithSerialBinaryProtocol::ValidateResponse() const
{
    if (_responsePhrasesReceived != kPhraseCount)
    {
        PYX_THROW(ProtocolException, "Attempted to get result of SetLuid before all responses were received");
    }
    const Bytes* acknowledgement = Reply::At(_responsePhrases, 0);
    const Bytes* status = Reply::At(_responsePhrases, 1);
    if (acknowledgement == nullptr || status == nullptr || acknowledgement->empty() || status->empty())
    {
        PYX_THROW(ProtocolException, "Empty response has been received from reader after SetLuid command");
    }
    if (acknowledgement->front() == kTimeout)
    {
        PYX_THROW(ProtocolException,
                  "Reader reports a timeout error (no followup within 100ms => 0x6B) after "
                  "sending SetLuid command");
    }
    if (acknowledgement->front() != kInstruction)
    {
        PYX_THROW(ProtocolException, "Invalid ACK received from reader after SetLuid command");
    }
    if (!Reply::StartsWith(*status, {0x90, 0x00}))
    {
        PYX_THROW(ProtocolException, "Invalid response received from reader after sending LUID data");
    }
}
} // namespace PyxProtocol
