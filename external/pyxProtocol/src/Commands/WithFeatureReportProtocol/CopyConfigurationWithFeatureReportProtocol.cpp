#include "Commands/WithFeatureReportProtocol/CopyConfigurationWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
CopyConfigurationWithFeatureReportProtocol::CopyConfigurationWithFeatureReportProtocol(
    ConfigurationLocation source, ConfigurationLocation destination, std::uint8_t extraByte1,
    std::uint8_t extraByte2)
    : _source(source), _destination(destination), _extraByte1(extraByte1), _extraByte2(extraByte2)
{
}

bool CopyConfigurationWithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < 1;
}

std::vector<std::uint8_t> CopyConfigurationWithFeatureReportProtocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    return Phrase::FeatureReport({0x89, 0x82, static_cast<std::uint8_t>(_source),
                                  static_cast<std::uint8_t>(_destination), _extraByte1, _extraByte2});
}

bool CopyConfigurationWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return _responsePhrasesReceived < 1;
}

void CopyConfigurationWithFeatureReportProtocol::ValidateResponse() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || !Reply::StartsWith(*reply, {0x89, 0x82, static_cast<std::uint8_t>(_source),
                                                        static_cast<std::uint8_t>(_destination), _extraByte1,
                                                        _extraByte2, 0x00, 0x00}))
    {
        PYX_THROW(ProtocolException,
                  "Response from reader did not match expected response for CopyConfiguration command.");
    }
}
} // namespace PyxProtocol
