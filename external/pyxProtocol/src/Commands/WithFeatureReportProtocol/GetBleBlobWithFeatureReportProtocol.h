#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Commands/Command.h"
#include "Commands/WithFeatureReportProtocol/BleBlobExchange.h"
#include "Structures/BleConfiguration.h"
#include "Utility/TimeDelay.h"

namespace PyxProtocol
{
// Reads one BLE data set, block by block: a setup phrase, polling until the reader has the block ready, then
// 32 data phrases of four bytes each. The reader answers every phrase with a result code, so this command
// runs its own exchange instead of the one-phrase-one-reply loop; the phrase slots of the base must not be
// used. Every wait goes through the owned TimeDelay.
class GetBleBlobWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    // `delay` may be empty: a plain TimeDelay is made. An UnencryptedKey cannot be read back.
    GetBleBlobWithFeatureReportProtocol(PyxCommon::BleDataType dataType, std::uint32_t pollDelayMs,
                                        std::int32_t attemptLimit,
                                        std::unique_ptr<PyxCommon::TimeDelay> delay = nullptr);

    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void AddResponsePhrase(std::vector<std::uint8_t> phrase) override;
    bool ExpectsResponsePhrase() override;
    void Execute(PyxTransport::Transport& transport) override;

    // Throws unless every expected byte was read.
    void ValidateResponse() const;
    std::vector<std::uint8_t> GetResult() const;

private:
    void ReadBlock(PyxTransport::Transport& transport, std::uint8_t section);

    PyxCommon::BleDataType dataType_;
    std::int32_t expectedByteCount_;
    std::int32_t blockCount_;
    std::unique_ptr<PyxCommon::TimeDelay> delay_;
    BleBlob::Exchange exchange_; // waits through *delay_, so declared after it
    std::vector<std::uint8_t> data_;
};
} // namespace PyxProtocol
