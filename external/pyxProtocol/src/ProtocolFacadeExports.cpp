#include "ProtocolFacadeExports.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "ProtocolFacade.h"
#include "ProtocolFacadeText.h"

namespace
{
// Argument refusals name this file by its path in the source tree, wherever the library was built.
constexpr const char* kSourcePath = "external/pyxProtocol/src/ProtocolFacadeExports.cpp";
constexpr const char* kFunctionName = "DiscoverUsbReaders";
constexpr int kLineNullReaderCount = 65;
constexpr int kLineReaderCountMismatch = 80;

// What the last counting call found; the copying call hands it out without looking at the devices again.
struct DiscoveryCache
{
    std::mutex mutex;
    std::vector<PyxCommon::ReaderDefinition> readers;
};

DiscoveryCache& cache()
{
    static DiscoveryCache instance;
    return instance;
}

[[maybe_unused]] DiscoveryCache& cacheAtLoad = cache();

ProtocolCommandResult InvalidArgument(const char* message, int line)
{
    ProtocolCommandResult result{};
    result.HasException = true;
    PyxProtocol::CopyText(result.ExceptionType, "InvalidArgument");
    PyxProtocol::CopyText(result.Message, message);
    PyxProtocol::CopyText(result.FileName, kSourcePath);
    result.LineNumber = line;
    PyxProtocol::CopyText(result.FunctionName, kFunctionName);
    return result;
}
} // namespace

ProtocolCommandResult DiscoverUsbReaders(PyxCommon::ReaderDefinition* readers, std::size_t* readerCount)
{
    if (readerCount == nullptr)
    {
        return InvalidArgument("readerCount pointer cannot be null", kLineNullReaderCount);
    }
    DiscoveryCache& discovered = cache();
    std::lock_guard<std::mutex> lock(discovered.mutex);
    if (readers == nullptr)
    {
        ProtocolCommandResult result = PyxProtocol::ProtocolFacade::DiscoverUsbReaders(discovered.readers);
        if (!result.HasException)
        {
            *readerCount = discovered.readers.size();
        }
        return result;
    }
    if (*readerCount != discovered.readers.size())
    {
        return InvalidArgument(
            "Provided readerCount does not match the number of readers. Call "
            "DiscoverUsbReaders with readers set to nullptr to get the required buffer size.",
            kLineReaderCountMismatch);
    }
    std::copy(discovered.readers.begin(), discovered.readers.end(), readers);
    return ProtocolCommandResult{};
}
