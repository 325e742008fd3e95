#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "Commands/Command.h"
#include "Structures/SmartCardConfiguration.h"
#include "Utility/TimeDelay.h"

namespace PyxProtocol
{
// Writes one smart-card configuration blob: a header phrase, one phrase per four data bytes (the last one
// zero-padded) and an end phrase, each acknowledged by the reader.
class SetBlobWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    // Refuses data, or a header length, above the largest blob (1016 bytes): the phrase numbers would run
    // into the end marker 0xFF. `delay` (may be empty) is only held: every phrase is acknowledged, so the
    // exchange itself never waits.
    SetBlobWithFeatureReportProtocol(const PyxCommon::BlobHeader& header,
                                     const std::vector<std::uint8_t>& data,
                                     std::unique_ptr<PyxCommon::TimeDelay> delay = nullptr);

    void Reset() override;
    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;

    void ValidateResponse() const;

private:
    std::uint8_t blobType_;
    std::uint8_t secondByte_;
    std::uint16_t dataLength_;
    std::uint8_t fifthByte_;
    std::vector<std::uint8_t> data_;
    std::uint32_t readIndex_ = 0;
    std::uint32_t dataPhraseCount_;
    std::unique_ptr<PyxCommon::TimeDelay> delay_;
};
} // namespace PyxProtocol
