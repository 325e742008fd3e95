#pragma once

#include <cstddef>
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
// Writes one BLE data set, block by block: a parameter phrase, the data phrases of four bytes each, then a
// store that is polled until the reader reports it done. Like the read, it runs its own exchange and the
// phrase slots of the base must not be used. Every wait goes through the owned TimeDelay.
class SetBleBlobWithFeatureReportProtocol : public FeatureReportCommand
{
public:
    // `data` must hold exactly the size of its type (384 Data, 128 Key, 16 UnencryptedKey). `delay` may be
    // empty: a plain TimeDelay is made.
    SetBleBlobWithFeatureReportProtocol(PyxCommon::BleDataType dataType,
                                        const std::vector<std::uint8_t>& data, std::uint32_t pollDelayMs,
                                        std::int32_t attemptLimit,
                                        std::unique_ptr<PyxCommon::TimeDelay> delay = nullptr);

    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void AddResponsePhrase(std::vector<std::uint8_t> phrase) override;
    bool ExpectsResponsePhrase() override;
    void Execute(PyxTransport::Transport& transport) override;

private:
    void WriteBlob(PyxTransport::Transport& transport, std::int32_t block, std::uint8_t section);

    PyxCommon::BleDataType dataType_;
    std::vector<std::uint8_t> data_;
    std::size_t expectedByteCount_;
    std::int32_t blockCount_;
    std::int32_t dataPhrasesPerBlock_;
    std::unique_ptr<PyxCommon::TimeDelay> delay_;
    BleBlob::Exchange exchange_; // waits through *delay_, so declared after it
};
} // namespace PyxProtocol
