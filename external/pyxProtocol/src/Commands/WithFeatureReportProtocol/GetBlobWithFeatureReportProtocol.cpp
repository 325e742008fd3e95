#include "Commands/WithFeatureReportProtocol/GetBlobWithFeatureReportProtocol.h"

#include "Commands/CommandHelpers.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::uint8_t kCommand = 0x89;
constexpr std::uint8_t kReadOpcode = 0x10;
constexpr std::size_t kDataAt = 4;
constexpr std::size_t kBytesPerPhrase = 4;
} // namespace

GetBlobWithFeatureReportProtocol::GetBlobWithFeatureReportProtocol(const PyxCommon::BlobHeader& header)
    : blobType_(header.BlobType), secondByte_(header.SecondByte), dataLength_(header.DataLength),
      fifthByte_(header.FifthByte), dataPhraseCount_((static_cast<std::uint32_t>(header.DataLength) + 3) / 4)
{
    if (dataLength_ > PyxCommon::SmartCardConfiguration::kMaxDataLength)
    {
        PYX_THROW(ProtocolException, "Data length exceeds maximum blob size");
    }
}

bool GetBlobWithFeatureReportProtocol::HasCommandPhrase()
{
    return static_cast<std::uint32_t>(_commandPhrasesSent) < dataPhraseCount_ + 1;
}

std::vector<std::uint8_t> GetBlobWithFeatureReportProtocol::NextCommandPhrase()
{
    const auto index = static_cast<std::uint8_t>(_commandPhrasesSent++);
    if (index == 0)
    {
        return HeaderPhrase();
    }
    return Phrase::FeatureReport({kCommand, kReadOpcode, 0x00, index});
}

void GetBlobWithFeatureReportProtocol::AddResponsePhrase(std::vector<std::uint8_t> phrase)
{
    if (_responsePhrasesReceived++ == 0)
    {
        verifyHeader(phrase);
        return;
    }
    _responsePhrases.push_back(std::move(phrase));
}

bool GetBlobWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return static_cast<std::uint32_t>(_responsePhrasesReceived) < dataPhraseCount_ + 1;
}

void GetBlobWithFeatureReportProtocol::ValidateResponse() const
{
    if (_responsePhrases.empty())
    {
        PYX_THROW(ProtocolException, "No response has been received from reader");
    }
    // A missing data reply would shorten the blob without a word.
    bool valid = _responsePhrases.size() == dataPhraseCount_;
    for (std::size_t i = 0; valid && i < _responsePhrases.size(); ++i)
    {
        const Bytes& reply = _responsePhrases[i];
        valid = reply.size() == Phrase::kFeatureReportSize &&
                Reply::StartsWith(reply, {kCommand, kReadOpcode, 0x00, static_cast<std::uint8_t>(i + 1)});
    }
    if (!valid)
    {
        PYX_THROW(ProtocolException, "Invalid response packet has been received for GetBlob command");
    }
}

std::vector<std::uint8_t> GetBlobWithFeatureReportProtocol::GetResult() const
{
    std::vector<std::uint8_t> data;
    data.reserve(_responsePhrases.size() * kBytesPerPhrase);
    for (const Bytes& reply : _responsePhrases)
    {
        if (!Reply::HasAtLeast(reply, kDataAt + kBytesPerPhrase))
        {
            PYX_THROW(ProtocolException, "Invalid response packet has been received for GetBlob command");
        }
        data.insert(data.end(), reply.begin() + kDataAt, reply.begin() + kDataAt + kBytesPerPhrase);
    }
    return data;
}

std::vector<std::uint8_t> GetBlobWithFeatureReportProtocol::HeaderPhrase() const
{
    // Only the low byte of the data length travels.
    return Phrase::FeatureReport({kCommand, kReadOpcode, 0x00, 0x00, blobType_, secondByte_,
                                  static_cast<std::uint8_t>(dataLength_ & 0xFF), fifthByte_});
}

void GetBlobWithFeatureReportProtocol::verifyHeader(const std::vector<std::uint8_t>& reply) const
{
    if (reply != HeaderPhrase())
    {
        PYX_THROW(ProtocolException, "Header Verification failed");
    }
}
} // namespace PyxProtocol
