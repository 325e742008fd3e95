#pragma once

#include <string>

#include "ProtocolException.h"

namespace PyxTransport
{
class Transport;
} // namespace PyxTransport
namespace PyxProtocol
{
class FeatureReportProtocol;
class Mfp24Protocol;
class SerialBinaryProtocol;

// One reader operation. A protocol's Accept calls the overload of Visit for that protocol, which refuses the
// operation before anything is sent, or validates the arguments, runs the operation's command of that
// protocol over the transport and keeps the decoded result for the visitor's getter.
class CommandVisitor
{
public:
    CommandVisitor() = default;
    virtual ~CommandVisitor() = default;
    CommandVisitor(const CommandVisitor&) = delete;
    CommandVisitor& operator=(const CommandVisitor&) = delete;

    // Throws (function "ValidateArguments") for an argument out of range; the base accepts everything.
    virtual void ValidateArguments() {}
    virtual void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) = 0;
    virtual void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) = 0;
    virtual void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) = 0;
};

// Refuses a value outside [lower, upper] with "<name> setting must be between <lower> and <upper> inclusive";
// callers see the throw's line in their result records, so it is a fixed number.
inline void ThrowProtocolExceptionForPropertyOutOfRange(const std::string& name, int value, int lower,
                                                        int upper)
{
    if (lower <= value && value <= upper)
    {
        return;
    }
    const std::string message = name + " setting must be between " + std::to_string(lower) + " and " +
                                std::to_string(upper) + " inclusive";
    constexpr int kLinePropertyOutOfRange = 46;
    throw ProtocolException(message, PYX_SOURCE_FILE, kLinePropertyOutOfRange, __func__);
}
} // namespace PyxProtocol
