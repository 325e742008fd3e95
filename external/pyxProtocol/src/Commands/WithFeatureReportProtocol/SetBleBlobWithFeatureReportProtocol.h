#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Commands/Command.h"
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
    std::vector<std::uint8_t> ExchangePhrase(PyxTransport::Transport& transport,
                                             const std::vector<std::uint8_t>& phrase);
    std::uint8_t CheckResponseCode(const std::vector<std::uint8_t>& reply, const std::string& step) const;
    std::vector<std::uint8_t> SendWithRetry(PyxTransport::Transport& transport,
                                            const std::vector<std::uint8_t>& phrase, const std::string& step);
    void PollUntilReady(PyxTransport::Transport& transport, const std::vector<std::uint8_t>& phrase,
                        const std::string& step);
    void WriteBlob(PyxTransport::Transport& transport, std::int32_t block, std::uint8_t section);

    PyxCommon::BleDataType dataType_;
    std::vector<std::uint8_t> data_;
    std::size_t expectedByteCount_;
    std::int32_t blockCount_;
    std::int32_t dataPhrasesPerBlock_;
    std::uint32_t pollDelayMs_;
    std::int32_t attemptLimit_;
    std::unique_ptr<PyxCommon::TimeDelay> delay_;
};
} // namespace PyxProtocol
