#include "Commands/WithFeatureReportProtocol/SetBlobWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::uint8_t kCommand = 0x89;
constexpr std::uint8_t kWriteOpcode = 0x90;
constexpr std::uint8_t kEndIndex = 0xFF;
constexpr std::size_t kBytesPerPhrase = 4;
constexpr std::size_t kDataAt = 4;
} // namespace

SetBlobWithFeatureReportProtocol::SetBlobWithFeatureReportProtocol(
    const PyxCommon::BlobHeader& header, const std::vector<std::uint8_t>& data,
    std::unique_ptr<PyxCommon::TimeDelay> delay)
    : blobType_(header.BlobType), secondByte_(header.SecondByte), dataLength_(header.DataLength),
      fifthByte_(header.FifthByte), data_(data),
      dataPhraseCount_(static_cast<std::uint32_t>((data.size() + kBytesPerPhrase - 1) / kBytesPerPhrase)),
      delay_(std::move(delay))
{
    if (data.size() > PyxCommon::SmartCardConfiguration::kMaxDataLength ||
        dataLength_ > PyxCommon::SmartCardConfiguration::kMaxDataLength)
    {
        PYX_THROW(ProtocolException, "Data length exceeds maximum blob size");
    }
    // Whole phrases only: the last one carries zeros past the data.
    data_.resize(static_cast<std::size_t>(dataPhraseCount_) * kBytesPerPhrase, 0x00);
}

void SetBlobWithFeatureReportProtocol::Reset()
{
    FeatureReportCommand::Reset();
    readIndex_ = 0;
}

bool SetBlobWithFeatureReportProtocol::HasCommandPhrase()
{
    return static_cast<std::uint32_t>(_commandPhrasesSent) <= dataPhraseCount_ + 1;
}

std::vector<std::uint8_t> SetBlobWithFeatureReportProtocol::NextCommandPhrase()
{
    const auto phrase = static_cast<std::uint32_t>(_commandPhrasesSent++);
    if (phrase == 0)
    {
        // Only the low byte of the data length travels.
        return Phrase::FeatureReport({kCommand, kWriteOpcode, 0x00, 0x00, blobType_, secondByte_,
                                      static_cast<std::uint8_t>(dataLength_ & 0xFF), fifthByte_});
    }
    if (phrase > dataPhraseCount_)
    {
        return Phrase::FeatureReport({kCommand, kWriteOpcode, 0x00, kEndIndex});
    }
    std::vector<std::uint8_t> data =
        Phrase::FeatureReport({kCommand, kWriteOpcode, 0x00, static_cast<std::uint8_t>(phrase)});
    for (std::size_t i = 0; i < kBytesPerPhrase && readIndex_ + i < data_.size(); ++i)
    {
        data[kDataAt + i] = data_[readIndex_ + i];
    }
    readIndex_ += kBytesPerPhrase;
    return data;
}

bool SetBlobWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return static_cast<std::uint32_t>(_responsePhrasesReceived) <= dataPhraseCount_ + 1;
}

void SetBlobWithFeatureReportProtocol::ValidateResponse() const
{
    if (_responsePhrases.empty())
    {
        PYX_THROW(ProtocolException, "No response has been received from reader");
    }
    // Every phrase must have been acknowledged, the end phrase last.
    bool valid = _responsePhrases.size() == dataPhraseCount_ + 2;
    for (std::size_t i = 0; valid && i < _responsePhrases.size(); ++i)
    {
        const bool last = i + 1 == _responsePhrases.size();
        const std::uint8_t index = last ? kEndIndex : static_cast<std::uint8_t>(i);
        valid = _responsePhrases[i].size() == Phrase::kFeatureReportSize &&
                Reply::StartsWith(_responsePhrases[i], {kCommand, kWriteOpcode, 0x00, index});
    }
    if (!valid)
    {
        PYX_THROW(ProtocolException, "Invalid ACK data has been received for SetBlob command");
    }
}
} // namespace PyxProtocol
