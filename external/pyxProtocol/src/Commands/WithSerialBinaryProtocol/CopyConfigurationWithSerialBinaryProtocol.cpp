#include "Commands/WithSerialBinaryProtocol/CopyConfigurationWithSerialBinaryProtocol.h"

#include <array>

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr int kCopyTimeMs = 50;
}

CopyConfigurationWithSerialBinaryProtocol::CopyConfigurationWithSerialBinaryProtocol(
    ConfigurationLocation source, ConfigurationLocation destination, std::uint8_t extraByte1,
    std::uint8_t extraByte2, std::unique_ptr<PyxCommon::TimeDelay> delay)
    : _source(source), _destination(destination), _extraByte1(extraByte1), _extraByte2(extraByte2),
      _delay(delay ? std::move(delay) : std::make_unique<PyxCommon::TimeDelay>())
{
}

std::vector<std::uint8_t> CopyConfigurationWithSerialBinaryProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    const std::array<std::uint8_t, 2> extra{_extraByte1, _extraByte2};
    return Phrase::SerialBinary(0x09, 0x82, static_cast<std::uint8_t>(_source),
                                static_cast<std::uint8_t>(_destination), extra);
}

bool CopyConfigurationWithSerialBinaryProtocol::ExpectsResponsePhrase()
{
    _delay->DelayMilliseconds(kCopyTimeMs);
    return _responsePhrasesReceived < 1;
}

void CopyConfigurationWithSerialBinaryProtocol::ValidateResponse() const
{
    if (_responsePhrasesReceived != 1)
    {
        PYX_THROW(ProtocolException, "CopyConfiguration did not get response data to validate response.");
    }
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->empty())
    {
        PYX_THROW(ProtocolException, "CopyConfiguration command response was empty.");
    }
    if (!Reply::StartsWith(*reply,
                           {0x09, 0x00, static_cast<std::uint8_t>(_source),
                            static_cast<std::uint8_t>(_destination), _extraByte1, _extraByte2, 0x90, 0x00}))
    {
        PYX_THROW(ProtocolException,
                  "Response from reader did not match expected response for CopyConfiguration command.");
    }
}
} // namespace PyxProtocol
