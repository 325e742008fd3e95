#pragma once

#include <utility>

#include "Reader/ReaderCapability.h"
#include "Reader/ReaderCapabilityProfile.h"

struct ProtocolCommandResult;

namespace Pyx::Detail
{
// Trace "AbstractReader called <name>".
void LogGuardedCall(const char* operationName);
// Throws the refusal that lists the required capabilities this reader lacks.
[[noreturn]] void ThrowUnsupported(const char* operationName, const ReaderCapabilityProfile& profile,
                                   const ReaderCapabilitySet& required);
// Throws "Operation '<name>' failed" carrying the failed result.
[[noreturn]] void ThrowOperationFailed(const char* operationName, const ProtocolCommandResult& result);
} // namespace Pyx::Detail

namespace Pyx
{
// Runs one reader operation's facade work when the reader has every required capability. `call` takes
// nothing and returns a ProtocolCommandResult; a result that records an exception becomes a
// Pyx::ReaderException carrying it. A refused call sends nothing to the reader. Exceptions thrown by `call`
// itself pass through unchanged.
template <typename Call>
void ExecuteWithCapabilityCheck(const char* operationName, Call&& call,
                                const ReaderCapabilityProfile& profile, const ReaderCapabilitySet& required)
{
    Detail::LogGuardedCall(operationName);
    if (!profile.IsCapableOf(required))
    {
        Detail::ThrowUnsupported(operationName, profile, required);
    }
    const auto result = std::forward<Call>(call)();
    if (!result.HasException)
    {
        return;
    }
    Detail::ThrowOperationFailed(operationName, result);
}
} // namespace Pyx
