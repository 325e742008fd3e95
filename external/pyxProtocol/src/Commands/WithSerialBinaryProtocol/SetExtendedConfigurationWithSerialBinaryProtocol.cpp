#include "Commands/WithSerialBinaryProtocol/SetExtendedConfigurationWithSerialBinaryProtocol.h"

#include "Commands/CommandHelpers.h"
#include "Commands/ExtendedConfigurationRules.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::uint8_t kInstruction = 0x8A;
constexpr std::uint8_t kConfigurationTarget = 0x00;
constexpr std::uint8_t kFirstValueTarget = 0x01;
constexpr std::uint8_t kSecondValueTarget = 0x11;
} // namespace

SetExtendedConfigurationWithSerialBinaryProtocol::SetExtendedConfigurationWithSerialBinaryProtocol(
    const PyxCommon::ExtendedConfiguration& configuration, const PyxCommon::HashData& hash)
    : configuration_(configuration.ToVector()), firstValue_(hash.HashValue1), secondValue_(hash.HashValue2),
      enhanceSecurityFirmwareState_(hash.EnhanceSecurityFirmwareState),
      sendFirst_(SendsHashValue(hash, hash.HashValue1)), sendSecond_(SendsHashValue(hash, hash.HashValue2))
{
}

bool SetExtendedConfigurationWithSerialBinaryProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < PhraseCount();
}

std::vector<std::uint8_t> SetExtendedConfigurationWithSerialBinaryProtocol::NextCommandPhrase()
{
    if (_commandPhrasesSent >= PhraseCount())
    {
        PYX_THROW(ProtocolException, "More command phrases requested than available data to send");
    }
    const std::int32_t phrase = _commandPhrasesSent++;
    if (phrase == 0)
    {
        return Phrase::SerialBinary(kInstruction, 0x00, kConfigurationTarget,
                                    static_cast<std::uint8_t>(configuration_.size()), configuration_);
    }
    if (phrase == 1 && sendFirst_)
    {
        return Phrase::SerialBinary(kInstruction, 0x00, kFirstValueTarget,
                                    static_cast<std::uint8_t>(firstValue_.size()), firstValue_);
    }
    return Phrase::SerialBinary(kInstruction, 0x00, kSecondValueTarget,
                                static_cast<std::uint8_t>(secondValue_.size()), secondValue_);
}

bool SetExtendedConfigurationWithSerialBinaryProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < _commandPhrasesSent;
}

void SetExtendedConfigurationWithSerialBinaryProtocol::ValidateResponse() const
{
    // Every phrase sent needs its acknowledgement; one missing is as good as none.
    if (_responsePhrases.empty() || _responsePhrases.size() != static_cast<std::size_t>(PhraseCount()))
    {
        PYX_THROW(ProtocolException,
                  "No response has been received from reader after SetExtendedConfiguration command");
    }
    for (const Bytes& reply : _responsePhrases)
    {
        if (!Reply::Equals(reply, {kInstruction, 0x90, 0x00}))
        {
            PYX_THROW(ProtocolException,
                      "Invalid ACK data received from reader after SetExtendedConfiguration command");
        }
    }
}

std::int32_t SetExtendedConfigurationWithSerialBinaryProtocol::PhraseCount() const
{
    return 1 + (sendFirst_ ? 1 : 0) + (sendSecond_ ? 1 : 0);
}
} // namespace PyxProtocol
