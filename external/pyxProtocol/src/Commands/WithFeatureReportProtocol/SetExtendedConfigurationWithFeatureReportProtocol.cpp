#include "Commands/WithFeatureReportProtocol/SetExtendedConfigurationWithFeatureReportProtocol.h"

#include <span>

#include "Commands/CommandHelpers.h"
#include "Commands/ExtendedConfigurationRules.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::uint8_t kCommand = 0x85;
constexpr std::int32_t kPhrasesPerChunk = 2; // an announcing header, then 8 data bytes
constexpr std::int32_t kHashChunks = 2;      // a 16-byte value travels in two chunks
constexpr std::size_t kChunkSize = 8;
// What each announcing header names, as bytes 2 and 3 of its 32-bit little-endian number.
constexpr std::uint8_t kConfigurationTarget[] = {0x00, 0x10};
constexpr std::uint8_t kFirstValueTarget[] = {0x01, 0x00};
constexpr std::uint8_t kSecondValueTarget[] = {0x11, 0x00};

// Phrase `phrase` (0-based) of a run that writes `data` in announced chunks.
std::vector<std::uint8_t> ChunkPhrase(std::int32_t phrase, const std::uint8_t (&target)[2],
                                      std::span<const std::uint8_t> data)
{
    const auto chunk = static_cast<std::uint8_t>(phrase / kPhrasesPerChunk);
    if (phrase % kPhrasesPerChunk == 0)
    {
        return Phrase::FeatureReport({kCommand, chunk, target[0], target[1]});
    }
    return Phrase::FeatureReportData(data, chunk * kChunkSize);
}
} // namespace

SetExtendedConfigurationWithFeatureReportProtocol::SetExtendedConfigurationWithFeatureReportProtocol(
    const PyxCommon::ExtendedConfiguration& configuration, const PyxCommon::HashData& hash)
    : configuration_(configuration.ToVector()), firstValue_(hash.HashValue1), secondValue_(hash.HashValue2),
      enhanceSecurityFirmwareState_(hash.EnhanceSecurityFirmwareState),
      sendFirst_(SendsHashValue(hash, hash.HashValue1)), sendSecond_(SendsHashValue(hash, hash.HashValue2)),
      chunkCount_(configuration.FieldSeparatorDataHeader.MaxStorageSize)
{
    if (configuration_.size() < chunkCount_ * kChunkSize)
    {
        PYX_THROW(ProtocolException, "Extended configuration is smaller than its maximum storage size");
    }
}

bool SetExtendedConfigurationWithFeatureReportProtocol::HasCommandPhrase()
{
    return _commandPhrasesSent < PhraseCount();
}

std::vector<std::uint8_t> SetExtendedConfigurationWithFeatureReportProtocol::NextCommandPhrase()
{
    if (_commandPhrasesSent >= PhraseCount())
    {
        PYX_THROW(ProtocolException, "More command phrases requested than available data to send");
    }
    std::int32_t phrase = _commandPhrasesSent++;
    // The configuration's chunks first, then the first value's, then the second value's.
    const std::int32_t configurationPhrases = chunkCount_ * kPhrasesPerChunk;
    if (phrase < configurationPhrases)
    {
        return ChunkPhrase(phrase, kConfigurationTarget, configuration_);
    }
    phrase -= configurationPhrases;
    if (sendFirst_)
    {
        if (phrase < kHashChunks * kPhrasesPerChunk)
        {
            return ChunkPhrase(phrase, kFirstValueTarget, firstValue_);
        }
        phrase -= kHashChunks * kPhrasesPerChunk;
    }
    return ChunkPhrase(phrase, kSecondValueTarget, secondValue_);
}

void SetExtendedConfigurationWithFeatureReportProtocol::AddResponsePhrase(std::vector<std::uint8_t>) {}

bool SetExtendedConfigurationWithFeatureReportProtocol::ExpectsResponsePhrase()
{
    return false;
}

std::int32_t SetExtendedConfigurationWithFeatureReportProtocol::PhraseCount() const
{
    const std::int32_t hashPhrases = kHashChunks * kPhrasesPerChunk;
    return chunkCount_ * kPhrasesPerChunk + (sendFirst_ ? hashPhrases : 0) + (sendSecond_ ? hashPhrases : 0);
}
} // namespace PyxProtocol
