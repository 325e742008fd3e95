#include "Commands/WithFeatureReportProtocol/GetBleBlobWithFeatureReportProtocol.h"

#include <algorithm>
#include <climits>

#include <fmt/format.h>

#include "Commands/CommandHelpers.h"
#include "Commands/WithFeatureReportProtocol/BleBlobExchange.h"
#include "Logging/Logger.h"
#include "ProtocolException.h"
#include "Transport.h"

namespace PyxProtocol
{
namespace
{
using namespace BleBlob;

constexpr std::int32_t kDataByteCount = 384;
constexpr std::int32_t kKeyByteCount = 128;
constexpr std::int32_t kDataBlockCount = 3;
constexpr std::uint8_t kKeySection = 0x10;
constexpr int kDataPhrasesPerBlock = 32;

constexpr const char* kSetupStep = "GetBleBlob read setup";
constexpr const char* kPollStep = "GetBleBlob read poll";
constexpr const char* kDataStep = "GetBleBlob read data index ";

bool IsData(PyxCommon::BleDataType type)
{
    return static_cast<std::uint8_t>(type) == static_cast<std::uint8_t>(PyxCommon::BleDataType::Data);
}

void Debug(const std::string& message)
{
    PyxCommon::Logger::GetInstance(false, true).Debug("PROTOCOL", message);
}
} // namespace

GetBleBlobWithFeatureReportProtocol::GetBleBlobWithFeatureReportProtocol(
    PyxCommon::BleDataType dataType, std::uint32_t pollDelayMs, std::int32_t attemptLimit,
    std::unique_ptr<PyxCommon::TimeDelay> delay)
    : dataType_(dataType), expectedByteCount_(IsData(dataType) ? kDataByteCount : kKeyByteCount),
      blockCount_(IsData(dataType) ? kDataBlockCount : 1), pollDelayMs_(pollDelayMs),
      attemptLimit_(attemptLimit), delay_(delay ? std::move(delay) : std::make_unique<PyxCommon::TimeDelay>())
{
    if (static_cast<std::uint8_t>(dataType) ==
        static_cast<std::uint8_t>(PyxCommon::BleDataType::UnencryptedKey))
    {
        PYX_THROW(ProtocolException,
                  "GetBleBlob does not support UnencryptedKey; Section 4 of the protocol is write-only");
    }
}

bool GetBleBlobWithFeatureReportProtocol::HasCommandPhrase()
{
    PYX_THROW(ProtocolException,
              "GetBleBlob uses Execute() override; HasCommandPhrase() should not be called directly");
}

std::vector<std::uint8_t> GetBleBlobWithFeatureReportProtocol::NextCommandPhrase()
{
    PYX_THROW(ProtocolException,
              "GetBleBlob uses Execute() override; NextCommandPhrase() should not be called directly");
}

void GetBleBlobWithFeatureReportProtocol::AddResponsePhrase(std::vector<std::uint8_t>)
{
    PYX_THROW(ProtocolException,
              "GetBleBlob uses Execute() override; AddResponsePhrase() should not be called directly");
}

bool GetBleBlobWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    PYX_THROW(ProtocolException,
              "GetBleBlob uses Execute() override; ExpectsResponsePhrase() should not be called directly");
}

void GetBleBlobWithFeatureReportProtocol::Execute(PyxTransport::Transport& transport)
{
    data_.clear();
    data_.reserve(static_cast<std::size_t>(expectedByteCount_));
    for (std::int32_t block = 0; block < blockCount_; ++block)
    {
        ReadBlock(transport, IsData(dataType_) ? static_cast<std::uint8_t>(block) : kKeySection);
    }
}

void GetBleBlobWithFeatureReportProtocol::ValidateResponse() const
{
    if (data_.size() != static_cast<std::size_t>(expectedByteCount_))
    {
        PYX_THROW(ProtocolException,
                  fmt::format("GetBleBlob expected {} bytes but got {}", expectedByteCount_, data_.size()));
    }
}

std::vector<std::uint8_t> GetBleBlobWithFeatureReportProtocol::GetResult() const
{
    return data_;
}

std::vector<std::uint8_t>
GetBleBlobWithFeatureReportProtocol::ExchangePhrase(PyxTransport::Transport& transport,
                                                    const std::vector<std::uint8_t>& phrase)
{
    PyxTransport::TransportPacket packet;
    packet.Data = phrase;
    packet.Length = static_cast<std::uint16_t>(phrase.size());
    packet.ReportType = PyxTransport::HidReportType::Feature;
    transport.transmit(packet);
    delay_->DelayMilliseconds(kExchangeWaitMs);
    packet.Length = kReplySize;
    return transport.receive(packet);
}

std::uint8_t GetBleBlobWithFeatureReportProtocol::CheckResponseCode(const std::vector<std::uint8_t>& reply,
                                                                    const std::string& step) const
{
    if (!Reply::HasAtLeast(reply, kCodedReplySize))
    {
        PYX_THROW(ProtocolException, "Response too short during " + step);
    }
    if (reply[0] != kCommand || reply[1] != kReadOpcode)
    {
        PYX_THROW(
            ProtocolException,
            fmt::format("Invalid response during {}: expected command 0x89 and opcode 0x10 but got 0x{:02X} "
                        "0x{:02X}. The reader may not support this command.",
                        step, reply[0], reply[1]));
    }
    const std::uint8_t code = reply[kResultCodeAt];
    if (const char* fatal = FatalCodeText(code))
    {
        PYX_THROW(ProtocolException, fatal + step);
    }
    return code;
}

std::vector<std::uint8_t> GetBleBlobWithFeatureReportProtocol::SendWithRetry(
    PyxTransport::Transport& transport, const std::vector<std::uint8_t>& phrase, const std::string& step)
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
            PYX_THROW(ProtocolException, fmt::format("Transient error persisted after {} retries during {}{}",
                                                     kMaxRetries, step, kNoModuleHint));
        }
        Debug(fmt::format("{}: transient error rc=0x{:02X} on attempt {}/{}, retrying in {}ms", step, code,
                          retries + 1, kMaxRetries + 1, kRetryWaitMs));
        delay_->DelayMilliseconds(kRetryWaitMs);
    }
}

bool GetBleBlobWithFeatureReportProtocol::PollUntilReady(PyxTransport::Transport& transport,
                                                         const std::vector<std::uint8_t>& phrase,
                                                         const std::string& step)
{
    const std::string timedOut =
        fmt::format("Polling timed out after {} attempts during {}{}", attemptLimit_, step, kNoModuleHint);
    if (attemptLimit_ < 1)
    {
        PYX_THROW(ProtocolException, timedOut);
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
        else if (++consecutive >= kStormThreshold)
        {
            Debug(fmt::format("{}: poll storm detected ({} consecutive non-busy failures, last rc=0x{:02X}), "
                              "bailing out for setup re-send",
                              step, kStormThreshold, code));
            return false;
        }
        ++attempts;
        Debug(fmt::format("{}: poll rc=0x{:02X} on attempt {}/{}, retrying in {}ms", step, code, attempts,
                          attemptLimit_, pollDelayMs_));
        delay_->DelayMilliseconds(pollDelay);
        if (attempts >= attemptLimit_)
        {
            PYX_THROW(ProtocolException, timedOut);
        }
    }
}

void GetBleBlobWithFeatureReportProtocol::ReadBlock(PyxTransport::Transport& transport, std::uint8_t section)
{
    const std::vector<std::uint8_t> setup =
        Phrase::FeatureReport({kCommand, kReadOpcode, 0x00, 0x00, 0x10, 0x01, 0x00, section});
    const std::vector<std::uint8_t> poll =
        Phrase::FeatureReport({kCommand, kReadOpcode, 0x00, 0x00, 0x10, 0x01, 0x00,
                               static_cast<std::uint8_t>(section | kPollFlag)});
    for (int resends = 0;; ++resends)
    {
        SendWithRetry(transport, setup, kSetupStep);
        delay_->DelayMilliseconds(kSetupWaitMs);
        if (PollUntilReady(transport, poll, kPollStep))
        {
            break;
        }
        if (resends >= kMaxSetupResends)
        {
            PYX_THROW(ProtocolException, fmt::format("{}: poll storm persisted after {} setup retries{}",
                                                     kPollStep, kMaxSetupResends, kNoModuleHint));
        }
        Debug(fmt::format("{}: poll storm detected, re-sending setup (attempt {}/{})", kPollStep, resends + 1,
                          kMaxSetupResends + 1));
        delay_->DelayMilliseconds(kSetupWaitMs);
    }
    for (int index = 1; index <= kDataPhrasesPerBlock; ++index)
    {
        const std::string step = IndexedStep(kDataStep, index);
        const std::vector<std::uint8_t> reply = SendWithRetry(
            transport, Phrase::FeatureReport({kCommand, kReadOpcode, 0x00, static_cast<std::uint8_t>(index)}),
            step);
        // The result code needs three bytes; the blob bytes behind it need the whole reply.
        if (!Reply::HasAtLeast(reply, kReplySize))
        {
            PYX_THROW(ProtocolException, "Response too short during " + step);
        }
        data_.insert(data_.end(), reply.begin() + kReadDataAt, reply.begin() + kReplySize);
    }
}
} // namespace PyxProtocol
