#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "Structures/SmartCardConfiguration.h"
#include "Utility/TimeDelay.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Writes one smart-card configuration blob; the header's data length must match the data.
class SetBlobVisitor final : public CommandVisitor
{
public:
    // Without a delay object the command gets a plain one.
    SetBlobVisitor(const PyxCommon::BlobHeader& header, const std::vector<std::uint8_t>& data,
                   std::unique_ptr<PyxCommon::TimeDelay> delay = nullptr)
        : _header(header), _data(data), _delay(std::move(delay))
    {
    }

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    PyxCommon::BlobHeader _header;
    std::vector<std::uint8_t> _data;
    std::unique_ptr<PyxCommon::TimeDelay> _delay;
};
} // namespace PyxProtocol
