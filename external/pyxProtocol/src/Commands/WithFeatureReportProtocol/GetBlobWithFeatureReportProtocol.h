#pragma once

#include <cstdint>
#include <vector>

#include "Commands/Command.h"
#include "Structures/SmartCardConfiguration.h"

namespace PyxProtocol
{
// Reads one smart-card configuration blob: a header phrase, which the reader must echo exactly, then one
// phrase per four data bytes.
class GetBlobWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    // Refuses a data length above the largest blob (1016 bytes): the phrase numbers would run into 0xFF.
    explicit GetBlobWithFeatureReportProtocol(const PyxCommon::BlobHeader& header);

    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // The header echo is checked as it arrives and is not stored; the data replies are.
    void AddResponsePhrase(std::vector<std::uint8_t> phrase) override;
    bool ExpectsResponsePhrase() override;

    void ValidateResponse() const;
    // Four bytes per data phrase, the padding past the data length included.
    std::vector<std::uint8_t> GetResult() const;

private:
    std::vector<std::uint8_t> HeaderPhrase() const;
    void verifyHeader(const std::vector<std::uint8_t>& reply) const;

    std::uint8_t blobType_;
    std::uint8_t secondByte_;
    std::uint16_t dataLength_;
    std::uint8_t fifthByte_;
    std::uint32_t dataPhraseCount_;
};
} // namespace PyxProtocol
