#include "Commands/WithMfp24Protocol/BeepWithMfp24Protocol.h"

#include <string>
#include <utility>

#include "Commands/CommandHelpers.h"

namespace PyxProtocol
{
BeepWithMfp24Protocol::BeepWithMfp24Protocol(std::uint8_t count, BEEP_DURATION duration)
    : _count(count), _duration(static_cast<std::uint8_t>(duration))
{
}

std::vector<std::uint8_t> BeepWithMfp24Protocol::NextCommandPhrase()
{
    ++_commandPhrasesSent;
    const char length = _duration == static_cast<std::uint8_t>(BEEP_DURATION::BEEP_LONG) ? 'L' : 'S';
    const std::string text{'B', length, static_cast<char>('0' + _count)};
    return Phrase::Mfp24(text);
}

void BeepWithMfp24Protocol::AddResponsePhrase(std::vector<std::uint8_t> phrase)
{
    _responsePhrases.push_back(std::move(phrase));
}

bool BeepWithMfp24Protocol::ExpectsResponsePhrase()
{
    return _responsePhrases.empty();
}
} // namespace PyxProtocol
