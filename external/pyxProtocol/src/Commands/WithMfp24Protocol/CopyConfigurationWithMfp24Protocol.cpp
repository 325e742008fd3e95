#include "Commands/WithMfp24Protocol/CopyConfigurationWithMfp24Protocol.h"

#include <stdexcept>
#include <string>

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
struct CopyLetter
{
    ConfigurationLocation Source;
    ConfigurationLocation Destination;
    char Letter;
};

constexpr CopyLetter kCopyLetters[] = {
    {ConfigurationLocation::Stored1, ConfigurationLocation::RAM, 'R'},
    {ConfigurationLocation::RAM, ConfigurationLocation::Stored1, 'W'},
    {ConfigurationLocation::Stored2, ConfigurationLocation::RAM, 'D'},
};

char LetterFor(ConfigurationLocation source, ConfigurationLocation destination)
{
    for (const auto& entry : kCopyLetters)
    {
        if (entry.Source == source && entry.Destination == destination)
        {
            return entry.Letter;
        }
    }
    throw std::invalid_argument("Invalid source and destination combination");
}
} // namespace

CopyConfigurationWithMfp24Protocol::CopyConfigurationWithMfp24Protocol(ConfigurationLocation source,
                                                                       ConfigurationLocation destination)
    : _source(source), _destination(destination)
{
}

std::vector<std::uint8_t> CopyConfigurationWithMfp24Protocol::NextCommandPhrase()
{
    const char letter = LetterFor(_source, _destination);
    ++_commandPhrasesSent;
    return Phrase::Mfp24(std::string{'F', letter});
}

void CopyConfigurationWithMfp24Protocol::ValidateResponse() const
{
    const char letter = LetterFor(_source, _destination);
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr || reply->size() != Phrase::kMfp24Size ||
        !Reply::StartsWith(*reply, {'R', static_cast<std::uint8_t>(letter), '0'}) ||
        reply->back() != Phrase::kCarriageReturn)
    {
        PYX_THROW(ProtocolException, "CopyConfiguration Mfp24 command response is invalid.");
    }
}
} // namespace PyxProtocol
