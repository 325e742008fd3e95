#pragma once

namespace PyxTransport
{
class Transport;
}

namespace PyxProtocol
{
class FeatureReportProtocol;
class Mfp24Protocol;
class SerialBinaryProtocol;

// One reader operation. A protocol's Accept calls the overload of Visit for that protocol, which refuses
// the operation before anything is sent, or validates the arguments, runs the operation's command of that
// protocol over the transport and keeps the decoded result for the visitor's getter.
class CommandVisitor
{
public:
    CommandVisitor() = default;
    virtual ~CommandVisitor() = default;
    CommandVisitor(const CommandVisitor&) = delete;
    CommandVisitor& operator=(const CommandVisitor&) = delete;

    // Throws ProtocolException (function "ValidateArguments") for an argument out of range; the base
    // accepts everything.
    virtual void ValidateArguments() {}
    virtual void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) = 0;
    virtual void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) = 0;
    virtual void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) = 0;
};
} // namespace PyxProtocol
