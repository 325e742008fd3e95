#include "Utilities/CapabilityGuard.h"

#include <string>

#include <fmt/format.h>

#include "Reader/ReaderException.h"
#include "ReaderLog.h"

namespace Pyx::Detail
{
namespace
{
// Failures of the guard are recorded under the execution-helpers header (which pulls in CapabilityGuard.h),
// the name hosts have always seen in their results.
constexpr const char* kGuardFile = "Utilities/ExecutionHelpers.h";
constexpr const char* kGuardFunction = "ExecuteWithCapabilityCheck";
constexpr int kLineUnsupported = 157;
constexpr int kLineOperationFailed = 169;
} // namespace

void LogGuardedCall(const char* operationName)
{
    Log().Trace(kReaderTag, fmt::format("AbstractReader called {}", operationName));
}

void ThrowUnsupported(const char* operationName, const ReaderCapabilityProfile& profile,
                      const ReaderCapabilitySet& required)
{
    std::string missing;
    for (const ReaderCapability capability : profile.GetUnsupportedCapabilities(required))
    {
        if (!missing.empty())
        {
            missing += ", ";
        }
        missing += ReaderCapabilityToString(capability);
    }
    throw ReaderException(
        fmt::format("Operation '{}' requires capabilities that this reader does not support: {}",
                    operationName, missing),
        kGuardFile, kLineUnsupported, kGuardFunction);
}

void ThrowOperationFailed(const char* operationName, const ProtocolCommandResult& result)
{
    throw ReaderException(fmt::format("Operation '{}' failed", operationName), result, kGuardFile,
                          kLineOperationFailed, kGuardFunction);
}
} // namespace Pyx::Detail
