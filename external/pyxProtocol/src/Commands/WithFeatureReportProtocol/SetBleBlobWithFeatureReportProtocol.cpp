#include "Commands/WithFeatureReportProtocol/SetBleBlobWithFeatureReportProtocol.h"

#include <algorithm>

#include <fmt/format.h>

#include "Commands/CommandHelpers.h"
#include "Commands/WithFeatureReportProtocol/BleBlobExchange.h"
#include "ProtocolException.h"

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
} // namespace

SetBleBlobWithFeatureReportProtocol::SetBleBlobWithFeatureReportProtocol(
    PyxCommon::BleDataType dataType, const std::vector<std::uint8_t>& data, std::uint32_t pollDelayMs,
    std::int32_t attemptLimit, std::unique_ptr<PyxCommon::TimeDelay> delay)
    : dataType_(dataType), data_(data), expectedByteCount_(LayoutOf(dataType).byteCount),
      blockCount_(LayoutOf(dataType).blockCount),
      dataPhrasesPerBlock_(LayoutOf(dataType).dataPhrasesPerBlock),
      delay_(delay ? std::move(delay) : std::make_unique<PyxCommon::TimeDelay>()),
      exchange_(kWriteOpcode, PYX_SOURCE_FILE, *delay_, pollDelayMs, attemptLimit)
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

void SetBleBlobWithFeatureReportProtocol::WriteBlob(PyxTransport::Transport& transport, std::int32_t block,
                                                    std::uint8_t section)
{
    const Layout& layout = LayoutOf(dataType_);
    exchange_.SendWithRetry(transport,
                            Phrase::FeatureReport({kCommand, kWriteOpcode, 0x00, 0x00, 0x11, 0x01,
                                                   layout.blockLengthCode, section}),
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
        exchange_.SendWithRetry(transport, phrase, IndexedStep(kDataStep, index));
    }
    exchange_.SendWithRetry(
        transport,
        Phrase::FeatureReport({kCommand, kWriteOpcode, 0x00, kStoreIndex, 0x00, 0x00, 0x00, section}),
        kStoreStep);
    delay_->DelayMilliseconds(kBlockWaitMs);
    // Storing takes the reader a while; every code short of done (busy or not) is polled again.
    exchange_.PollUntilReady(transport,
                             Phrase::FeatureReport({kCommand, kWriteOpcode, 0x00, kStoreIndex, 0x00, 0x00,
                                                    0x00, static_cast<std::uint8_t>(section | kPollFlag)}),
                             kStorePollStep, false);
}
} // namespace PyxProtocol
