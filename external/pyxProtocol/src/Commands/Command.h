#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace PyxTransport
{
class Transport;
}

namespace PyxProtocol
{
// One reader operation in one wire protocol, used for one execution. Execute hands out request phrases
// one by one and, after each transmit, asks whether a reply is expected; each reply is stored as the
// transport returned it. Checking and decoding the replies is left to the concrete class
// (ValidateResponse, GetResult), which never reads a reply byte without checking the reply's length first.
class Command
{
public:
    Command() = default;
    virtual ~Command() = default;
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    // Back to the built state: no phrase handed out, no reply stored.
    virtual void Reset();
    // True while a request phrase is still to be sent (default: until one was handed out).
    virtual bool HasCommandPhrase();
    // Counts the phrase and returns its bytes.
    virtual std::vector<std::uint8_t> NextCommandPhrase() = 0;
    // Stores one reply and counts it.
    virtual void AddResponsePhrase(std::vector<std::uint8_t> phrase);
    // Asked once after each transmit: true when a reply is to be read now (default: until one was counted).
    virtual bool ExpectsResponsePhrase();
    // Bytes asked of the transport per reply.
    virtual std::uint16_t ResponsePhraseSize();
    // The whole exchange: Reset, then for each phrase a transmit and, when expected, one receive. Transport
    // and command exceptions leave at once; nothing is retried and nothing waits here.
    virtual void Execute(PyxTransport::Transport& transport);
    virtual std::size_t ResponsePhraseCount();

protected:
    std::int32_t _commandPhrasesSent = 0;
    std::vector<std::vector<std::uint8_t>> _responsePhrases;
    std::int32_t _responsePhrasesReceived = 0;
};

// 8-byte binary phrases and 8-byte replies over USB HID feature reports.
class FeatureReportCommand : public Command
{
};

// 0xFA-headed phrases over a serial line; replies are read as whatever the reader sends.
class SerialBinaryCommand : public Command
{
};

// 24-character ASCII phrases ending in CR, and 24-byte replies.
class Mfp24Command : public Command
{
public:
    std::uint16_t ResponsePhraseSize() override;
};
} // namespace PyxProtocol
