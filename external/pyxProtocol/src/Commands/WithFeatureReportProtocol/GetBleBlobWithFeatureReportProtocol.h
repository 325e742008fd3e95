#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Commands/Command.h"
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
    std::vector<std::uint8_t> ExchangePhrase(PyxTransport::Transport& transport,
                                             const std::vector<std::uint8_t>& phrase);
    std::uint8_t CheckResponseCode(const std::vector<std::uint8_t>& reply, const std::string& step) const;
    std::vector<std::uint8_t> SendWithRetry(PyxTransport::Transport& transport,
                                            const std::vector<std::uint8_t>& phrase, const std::string& step);
    // True when the reader reports ready; false on a poll storm (a run of failures that are not busy).
    bool PollUntilReady(PyxTransport::Transport& transport, const std::vector<std::uint8_t>& phrase,
                        const std::string& step);
    void ReadBlock(PyxTransport::Transport& transport, std::uint8_t section);

    PyxCommon::BleDataType dataType_;
    std::int32_t expectedByteCount_;
    std::int32_t blockCount_;
    std::uint32_t pollDelayMs_;
    std::int32_t attemptLimit_;
    std::unique_ptr<PyxCommon::TimeDelay> delay_;
    std::vector<std::uint8_t> data_;
};
} // namespace PyxProtocol
