#include "Commands/WithFeatureReportProtocol/SetBleBlobWithFeatureReportProtocol.h"

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

// Sizes by data type: a block of 32 data phrases carries 128 bytes; the unencrypted key is one short block.
struct Layout
{
    std::size_t byteCount;
    std::int32_t blockCount;
    std::int32_t dataPhrasesPerBlock;
    std::uint8_t blockLengthCode; // bytes per block as the parameter phrase announces them
};

constexpr Layout kDataLayout{384, 3, 32, 0x80};
constexpr Layout kKeyLayout{128, 1, 32, 0x80};
constexpr Layout kUnencryptedKeyLayout{16, 1, 4, 0x10};
constexpr std::uint8_t kKeySection = 0x10;
constexpr std::uint8_t kUnencryptedKeySection = 0x04;

constexpr const char* kParamsStep = "SetBleBlob write config params";
constexpr const char* kDataStep = "SetBleBlob write data index ";
constexpr const char* kStoreStep = "SetBleBlob start store";
constexpr const char* kStorePollStep = "SetBleBlob store poll";

bool Is(PyxCommon::BleDataType type, PyxCommon::BleDataType expected)
{
    return static_cast<std::uint8_t>(type) == static_cast<std::uint8_t>(expected);
}

// Any type that is neither Data nor UnencryptedKey is written as a Key.
const Layout& LayoutOf(PyxCommon::BleDataType type)
{
    if (Is(type, PyxCommon::BleDataType::Data))
    {
        return kDataLayout;
    }
    return Is(type, PyxCommon::BleDataType::UnencryptedKey) ? kUnencryptedKeyLayout : kKeyLayout;
}

void Debug(const std::string& message)
{
    PyxCommon::Logger::GetInstance(false, true).Debug("PROTOCOL", message);
}
} // namespace

SetBleBlobWithFeatureReportProtocol::SetBleBlobWithFeatureReportProtocol(
    PyxCommon::BleDataType dataType, const std::vector<std::uint8_t>& data, std::uint32_t pollDelayMs,
    std::int32_t attemptLimit, std::unique_ptr<PyxCommon::TimeDelay> delay)
    : dataType_(dataType), data_(data), expectedByteCount_(LayoutOf(dataType).byteCount),
      blockCount_(LayoutOf(dataType).blockCount),
      dataPhrasesPerBlock_(LayoutOf(dataType).dataPhrasesPerBlock), pollDelayMs_(pollDelayMs),
      attemptLimit_(attemptLimit), delay_(delay ? std::move(delay) : std::make_unique<PyxCommon::TimeDelay>())
{
    if (data_.size() != expectedByteCount_)
    {
        PYX_THROW(ProtocolException, fmt::format("Data size must be {} bytes for the specified BLE data type",
                                                 expectedByteCount_));
    }
}

bool SetBleBlobWithFeatureReportProtocol::HasCommandPhrase()
{
    PYX_THROW(ProtocolException,
              "SetBleBlob uses Execute() override; HasCommandPhrase() should not be called directly");
}

std::vector<std::uint8_t> SetBleBlobWithFeatureReportProtocol::NextCommandPhrase()
{
    PYX_THROW(ProtocolException,
              "SetBleBlob uses Execute() override; NextCommandPhrase() should not be called directly");
}

void SetBleBlobWithFeatureReportProtocol::AddResponsePhrase(std::vector<std::uint8_t>)
{
    PYX_THROW(ProtocolException,
              "SetBleBlob uses Execute() override; AddResponsePhrase() should not be called directly");
}

bool SetBleBlobWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    PYX_THROW(ProtocolException,
              "SetBleBlob uses Execute() override; ExpectsResponsePhrase() should not be called directly");
}

void SetBleBlobWithFeatureReportProtocol::Execute(PyxTransport::Transport& transport)
{
    for (std::int32_t block = 0; block < blockCount_; ++block)
    {
        if (block > 0)
        {
            delay_->DelayMilliseconds(kBlockWaitMs);
        }
        std::uint8_t section = kKeySection;
        if (Is(dataType_, PyxCommon::BleDataType::Data))
        {
            section = static_cast<std::uint8_t>(block);
        }
        else if (Is(dataType_, PyxCommon::BleDataType::UnencryptedKey))
        {
            section = kUnencryptedKeySection;
        }
        WriteBlob(transport, block, section);
    }
    delay_->DelayMilliseconds(kBlockWaitMs);
}

std::vector<std::uint8_t>
SetBleBlobWithFeatureReportProtocol::ExchangePhrase(PyxTransport::Transport& transport,
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

std::uint8_t SetBleBlobWithFeatureReportProtocol::CheckResponseCode(const std::vector<std::uint8_t>& reply,
                                                                    const std::string& step) const
{
    if (!Reply::HasAtLeast(reply, kCodedReplySize))
    {
        PYX_THROW(ProtocolException, "Response too short during " + step);
    }
    if (reply[0] != kCommand || reply[1] != kWriteOpcode)
    {
        PYX_THROW(
            ProtocolException,
            fmt::format("Invalid response during {}: expected command 0x89 and opcode 0x90 but got 0x{:02X} "
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

std::vector<std::uint8_t> SetBleBlobWithFeatureReportProtocol::SendWithRetry(
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

void SetBleBlobWithFeatureReportProtocol::PollUntilReady(PyxTransport::Transport& transport,
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
    // Storing takes the reader a while; every code short of done (busy or not) is polled again.
    for (std::int32_t attempts = 1;; ++attempts)
    {
        const std::uint8_t code = CheckResponseCode(ExchangePhrase(transport, phrase), step);
        if (code == Code(BleBlobResultCode::Ready))
        {
            if (attempts > 1)
            {
                Debug(fmt::format("{}: poll ready after {} extra attempt(s)", step, attempts - 1));
            }
            return;
        }
        Debug(fmt::format("{}: poll rc=0x{:02X} on attempt {}/{}, retrying in {}ms", step, code, attempts,
                          attemptLimit_, pollDelayMs_));
        delay_->DelayMilliseconds(pollDelay);
        if (attempts >= attemptLimit_)
        {
            PYX_THROW(ProtocolException, timedOut);
        }
    }
}

void SetBleBlobWithFeatureReportProtocol::WriteBlob(PyxTransport::Transport& transport, std::int32_t block,
                                                    std::uint8_t section)
{
    const Layout& layout = LayoutOf(dataType_);
    SendWithRetry(transport,
                  Phrase::FeatureReport(
                      {kCommand, kWriteOpcode, 0x00, 0x00, 0x11, 0x01, layout.blockLengthCode, section}),
                  kParamsStep);
    const std::size_t blockBytes = static_cast<std::size_t>(dataPhrasesPerBlock_) * kBytesPerPhrase;
    for (std::int32_t index = 1; index <= dataPhrasesPerBlock_; ++index)
    {
        const std::size_t offset = static_cast<std::size_t>(block) * blockBytes +
                                   static_cast<std::size_t>(index - 1) * kBytesPerPhrase;
        // The constructor fixed the data size to the blocks, so these four bytes are always present.
        std::vector<std::uint8_t> phrase =
            Phrase::FeatureReport({kCommand, kWriteOpcode, 0x00, static_cast<std::uint8_t>(index)});
        std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(offset), kBytesPerPhrase, phrase.begin() + 4);
        SendWithRetry(transport, phrase, IndexedStep(kDataStep, index));
    }
    SendWithRetry(
        transport,
        Phrase::FeatureReport({kCommand, kWriteOpcode, 0x00, kStoreIndex, 0x00, 0x00, 0x00, section}),
        kStoreStep);
    delay_->DelayMilliseconds(kBlockWaitMs);
    PollUntilReady(transport,
                   Phrase::FeatureReport({kCommand, kWriteOpcode, 0x00, kStoreIndex, 0x00, 0x00, 0x00,
                                          static_cast<std::uint8_t>(section | kPollFlag)}),
                   kStorePollStep);
}
} // namespace PyxProtocol
