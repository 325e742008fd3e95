#include "Protocols/Protocol.h"

#include <cstdio>
#include <exception>

#include "Logging/Logger.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
namespace
{
// A destructor must not throw: a failure to log is written to standard error and dropped.
void LogDestruction(const char* message, const char* destructorName) noexcept
{
    try
    {
        PyxCommon::Logger::GetInstance(false, true).Trace("PROTOCOL", message);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "Exception in %s: %s\n", destructorName, e.what());
    }
    catch (...)
    {
        std::fprintf(stderr, "Unknown exception in %s\n", destructorName);
    }
}
} // namespace

FeatureReportProtocol::~FeatureReportProtocol()
{
    LogDestruction("Deconstructing FeatureReportProtocol", "~FeatureReportProtocol");
}

void FeatureReportProtocol::Accept(CommandVisitor& visitor, PyxTransport::Transport& transport)
{
    visitor.Visit(*this, transport);
}

Mfp24Protocol::~Mfp24Protocol()
{
    LogDestruction("Deconstructing Mfp24Protocol", "~Mfp24Protocol");
}

void Mfp24Protocol::Accept(CommandVisitor& visitor, PyxTransport::Transport& transport)
{
    visitor.Visit(*this, transport);
}

SerialBinaryProtocol::~SerialBinaryProtocol()
{
    LogDestruction("Deconstructing SerialBinaryProtocol", "~SerialBinaryProtocol");
}

void SerialBinaryProtocol::Accept(CommandVisitor& visitor, PyxTransport::Transport& transport)
{
    visitor.Visit(*this, transport);
}
} // namespace PyxProtocol
