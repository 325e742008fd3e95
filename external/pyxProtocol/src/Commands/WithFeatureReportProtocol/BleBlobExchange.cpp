#include "Commands/WithFeatureReportProtocol/BleBlobExchange.h"

#include <algorithm>
#include <climits>

#include <fmt/format.h>

#include "Commands/CommandHelpers.h"
#include "Logging/Logger.h"
#include "ProtocolException.h"
#include "Transport.h"

namespace PyxProtocol::BleBlob
{
void Debug(const std::string& message)
{
    PyxCommon::Logger::GetInstance(false, true).Debug("PROTOCOL", message);
}

Exchange::Exchange(std::uint8_t opcode, const char* sourceFile, PyxCommon::TimeDelay& delay,
                   std::uint32_t pollDelayMs, std::int32_t attemptLimit)
    : opcode_(opcode), sourceFile_(sourceFile), delay_(delay), pollDelayMs_(pollDelayMs),
      attemptLimit_(attemptLimit)
{
}

std::vector<std::uint8_t> Exchange::ExchangePhrase(PyxTransport::Transport& transport,
                                                   const std::vector<std::uint8_t>& phrase)
{
    PyxTransport::TransportPacket packet;
    packet.Data = phrase;
    packet.Length = static_cast<std::uint16_t>(phrase.size());
    packet.ReportType = PyxTransport::HidReportType::Feature;
    transport.transmit(packet);
    delay_.DelayMilliseconds(kExchangeWaitMs);
    packet.Length = kReplySize;
    return transport.receive(packet);
}

// The throws below name the command's file rather than this one (PYX_THROW would record this file), so a
// caller sees the failure where the transfer was asked for.
std::uint8_t Exchange::CheckResponseCode(const std::vector<std::uint8_t>& reply,
                                         const std::string& step) const
{
    if (!Reply::HasAtLeast(reply, kCodedReplySize))
    {
        throw ProtocolException("Response too short during " + step, sourceFile_, __LINE__, __func__);
    }
    if (reply[0] != kCommand || reply[1] != opcode_)
    {
        throw ProtocolException(
            fmt::format("Invalid response during {}: expected command 0x{:02X} and opcode 0x{:02X} but got "
                        "0x{:02X} 0x{:02X}. The reader may not support this command.",
                        step, kCommand, opcode_, reply[0], reply[1]),
            sourceFile_, __LINE__, __func__);
    }
    const std::uint8_t code = reply[kResultCodeAt];
    if (const char* fatal = FatalCodeText(code))
    {
        throw ProtocolException(fatal + step, sourceFile_, __LINE__, __func__);
    }
    return code;
}

std::vector<std::uint8_t> Exchange::SendWithRetry(PyxTransport::Transport& transport,
                                                  const std::vector<std::uint8_t>& phrase,
                                                  const std::string& step)
{
    for (int retries = 0;; ++retries)
    {
        std::vector<std::uint8_t> reply = ExchangePhrase(transport, phrase);
        const std::uint8_t code = CheckResponseCode(reply, step);
        if (code == Code(BleBlobResultCode::Ready))
        {
            if (retries >= 1)
            {
                Debug(fmt::format("{}: succeeded after {} retry(ies)", step, retries));
            }
            return reply;
        }
        if (retries >= kMaxRetries)
        {
            throw ProtocolException(fmt::format("Transient error persisted after {} retries during {}{}",
                                                kMaxRetries, step, kNoModuleHint),
                                    sourceFile_, __LINE__, __func__);
        }
        Debug(fmt::format("{}: transient error rc=0x{:02X} on attempt {}/{}, retrying in {}ms", step, code,
                          retries + 1, kMaxRetries + 1, kRetryWaitMs));
        delay_.DelayMilliseconds(kRetryWaitMs);
    }
}

bool Exchange::PollUntilReady(PyxTransport::Transport& transport, const std::vector<std::uint8_t>& phrase,
                              const std::string& step, bool stopOnStorm)
{
    const std::string timedOut =
        fmt::format("Polling timed out after {} attempts during {}{}", attemptLimit_, step, kNoModuleHint);
    if (attemptLimit_ < 1)
    {
        throw ProtocolException(timedOut, sourceFile_, __LINE__, __func__);
    }
    const int pollDelay = static_cast<int>(std::min<std::uint32_t>(pollDelayMs_, INT_MAX));
    std::int32_t attempts = 0;
    int consecutive = 0;
    while (true)
    {
        const std::uint8_t code = CheckResponseCode(ExchangePhrase(transport, phrase), step);
        if (code == Code(BleBlobResultCode::Ready))
        {
            if (attempts >= 1)
            {
                Debug(fmt::format("{}: poll ready after {} extra attempt(s)", step, attempts));
            }
            return true;
        }
        // A busy reader is working on the block; a run of other failures means the setup did not take.
        if (code == Code(BleBlobResultCode::Busy))
        {
            consecutive = 0;
        }
        else if (stopOnStorm && ++consecutive >= kStormThreshold)
        {
            Debug(fmt::format("{}: poll storm detected ({} consecutive non-busy failures, last rc=0x{:02X}), "
                              "bailing out for setup re-send",
                              step, kStormThreshold, code));
            return false;
        }
        ++attempts;
        Debug(fmt::format("{}: poll rc=0x{:02X} on attempt {}/{}, retrying in {}ms", step, code, attempts,
                          attemptLimit_, pollDelayMs_));
        delay_.DelayMilliseconds(pollDelay);
        if (attempts >= attemptLimit_)
        {
            throw ProtocolException(timedOut, sourceFile_, __LINE__, __func__);
        }
    }
}
} // namespace PyxProtocol::BleBlob
