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
// Reads one BLE data set; the command checks the data type and polls the reader every 10 ms, at most 100
// times.
class GetBleBlobVisitor final : public CommandVisitor
{
public:
    // Without a delay object the command makes a plain one.
    explicit GetBleBlobVisitor(PyxCommon::BleDataType dataType,
                               std::unique_ptr<PyxCommon::TimeDelay> delay = nullptr)
        : _dataType(dataType), _delay(std::move(delay))
    {
    }

    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    std::vector<std::uint8_t> GetResult() const { return _result; }

private:
    std::vector<std::uint8_t> _result;
    PyxCommon::BleDataType _dataType;
    std::unique_ptr<PyxCommon::TimeDelay> _delay;
};
} // namespace PyxProtocol
