#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "Structures/BleConfiguration.h"
#include "Utility/TimeDelay.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Writes one BLE data set; the command checks the data type and size and polls the reader every 10 ms, at
// most 100 times.
class SetBleBlobVisitor final : public CommandVisitor
{
public:
    // Without a delay object the command makes a plain one.
    SetBleBlobVisitor(PyxCommon::BleDataType dataType, const std::vector<std::uint8_t>& data,
                      std::unique_ptr<PyxCommon::TimeDelay> delay = nullptr)
        : _dataType(dataType), _data(data), _delay(std::move(delay))
    {
    }

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    PyxCommon::BleDataType _dataType;
    std::vector<std::uint8_t> _data;
    std::unique_ptr<PyxCommon::TimeDelay> _delay;
};
} // namespace PyxProtocol
