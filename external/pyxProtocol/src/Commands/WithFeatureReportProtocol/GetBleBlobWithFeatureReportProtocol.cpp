#include "Commands/WithFeatureReportProtocol/GetBleBlobWithFeatureReportProtocol.h"

#include <fmt/format.h>

#include "Commands/CommandHelpers.h"
#include "Commands/WithFeatureReportProtocol/BleBlobExchange.h"
#include "ProtocolException.h"

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
} // namespace

GetBleBlobWithFeatureReportProtocol::GetBleBlobWithFeatureReportProtocol(
    PyxCommon::BleDataType dataType, std::uint32_t pollDelayMs, std::int32_t attemptLimit,
    std::unique_ptr<PyxCommon::TimeDelay> delay)
    : dataType_(dataType), expectedByteCount_(IsData(dataType) ? kDataByteCount : kKeyByteCount),
      blockCount_(IsData(dataType) ? kDataBlockCount : 1),
      delay_(delay ? std::move(delay) : std::make_unique<PyxCommon::TimeDelay>()),
      exchange_(kReadOpcode, PYX_SOURCE_FILE, *delay_, pollDelayMs, attemptLimit)
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

void GetBleBlobWithFeatureReportProtocol::ReadBlock(PyxTransport::Transport& transport, std::uint8_t section)
{
    const std::vector<std::uint8_t> setup =
        Phrase::FeatureReport({kCommand, kReadOpcode, 0x00, 0x00, 0x10, 0x01, 0x00, section});
    const std::vector<std::uint8_t> poll =
        Phrase::FeatureReport({kCommand, kReadOpcode, 0x00, 0x00, 0x10, 0x01, 0x00,
                               static_cast<std::uint8_t>(section | kPollFlag)});
    for (int resends = 0;; ++resends)
    {
        exchange_.SendWithRetry(transport, setup, kSetupStep);
        delay_->DelayMilliseconds(kSetupWaitMs);
        if (exchange_.PollUntilReady(transport, poll, kPollStep, true))
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
        const std::vector<std::uint8_t> reply = exchange_.SendWithRetry(
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
