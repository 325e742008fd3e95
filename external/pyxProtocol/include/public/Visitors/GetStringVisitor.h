#pragma once

#include <string>

#include "Operations/Identification.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Reads one of the reader's indexed strings, 1 to 8.
class GetStringVisitor final : public CommandVisitor
{
public:
    explicit GetStringVisitor(GetStringIndex index) : _index(index) {}

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

    std::string GetResult() const { return _result; }

private:
    GetStringIndex _index;
    std::string _result;
};
} // namespace PyxProtocol
