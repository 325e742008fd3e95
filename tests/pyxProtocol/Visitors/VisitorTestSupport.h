#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Exceptions/TessmarException.h"
#include "Protocols/Protocol.h"
#include "ScriptedTransport.h"
#include "Visitors/CommandVisitor.h"

namespace PyxTest
{
using Bytes = std::vector<std::uint8_t>;

enum class On
{
    FeatureReport,
    Mfp24,
    SerialBinary,
};

inline const char* Name(On on)
{
    switch (on)
    {
    case On::FeatureReport:
        return "FeatureReport";
    case On::Mfp24:
        return "Mfp24";
    case On::SerialBinary:
        return "SerialBinary";
    }
    return "?";
}

// Hands the visitor to a protocol object of the given kind, as the facade does.
inline void Dispatch(On on, PyxProtocol::CommandVisitor& visitor, PyxTransport::Transport& transport)
{
    switch (on)
    {
    case On::FeatureReport:
    {
        PyxProtocol::FeatureReportProtocol protocol;
        protocol.Accept(visitor, transport);
        return;
    }
    case On::Mfp24:
    {
        PyxProtocol::Mfp24Protocol protocol;
        protocol.Accept(visitor, transport);
        return;
    }
    case On::SerialBinary:
    {
        PyxProtocol::SerialBinaryProtocol protocol;
        protocol.Accept(visitor, transport);
        return;
    }
    }
}

// "" when `action` returns; otherwise "<file> <function>: <message>" of the library's exception, or
// "std: <what>" for any other.
inline std::string FailureOf(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (const TessmarException& e)
    {
        return e.GetFileName() + " " + e.GetFunctionName() + ": " + e.GetMessage();
    }
    catch (const std::exception& e)
    {
        return std::string("std: ") + e.what();
    }
    return "";
}

// The failure of dispatching `visitor`, as FailureOf reports it.
inline std::string DispatchFailure(On on, PyxProtocol::CommandVisitor& visitor, ScriptedTransport& transport)
{
    return FailureOf([&] { Dispatch(on, visitor, transport); });
}
} // namespace PyxTest
