#include "Reader/AbstractReader.h"

#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include <fmt/format.h>

#include "GetCardDataCallbackHandler.h"
#include "ProtocolFacade.h"
#include "Reader/Reader.h"
#include "Reader/ReaderCapabilityProfile.h"
#include "Reader/ReaderException.h"
#include "Reader/ReaderFactory.h"
#include "ReaderLog.h"
#include "ReaderMetadataPopulation.h"
#include "SequenceLock.h"
#include "ThreadReaper.h"

namespace Pyx
{
namespace
{
constexpr int kLineFacadeCreationFailed = 82;
constexpr int kLineFacadeLookupFailed = 88;
constexpr int kLineProfileNotInitialized = 120;
constexpr int kLineNullFacade = 432;
// The profile check is recorded under the public header that declares it.
constexpr const char* kAbstractReaderHeader = "Reader/AbstractReader.h";

using FacadeHandle = PyxProtocol::ProtocolFacade::Handle;

// A reader keeps its facade handle as an opaque pointer-sized value; it is never dereferenced.
void* FacadeHandleAsPointer(FacadeHandle handle)
{
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(handle)); // NOLINT(performance-no-int-to-ptr)
}

FacadeHandle PointerAsFacadeHandle(void* handle)
{
    return static_cast<FacadeHandle>(reinterpret_cast<std::uintptr_t>(handle));
}

// A reader handle is an opaque number in a pointer, never dereferenced.
void* HandleFromId(unsigned long long id)
{
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(id)); // NOLINT(performance-no-int-to-ptr)
}
} // namespace

std::unordered_map<void*, std::shared_ptr<AbstractReader>> AbstractReader::_instances;
std::mutex AbstractReader::_instancesMutex;
std::atomic<unsigned long long> AbstractReader::_nextHandleId{0};

// Built when the library loads, after the logging manager, the facade registry and the thread reaper, and so
// torn down before them: readers still open at unload are destroyed whole (threads stopped, facades
// released) while everything they use still exists.
class ReaderRegistryLifetime
{
public:
    ReaderRegistryLifetime()
    {
        Log();
        // A look-up of a handle no facade can have builds the facade registry now, ahead of this object.
        PyxProtocol::ProtocolFacade::GetInstance(kNoFacadeHandle);
        Detail::ThreadReaper::Instance();
    }

    ~ReaderRegistryLifetime()
    {
        std::vector<void*> handles;
        {
            std::lock_guard lock(AbstractReader::_instancesMutex);
            for (const auto& entry : AbstractReader::_instances)
            {
                handles.push_back(entry.first);
            }
        }
        for (void* handle : handles)
        {
            AbstractReader::DestroyInstance(handle);
        }
    }

private:
    // Facade handles are object addresses, never 1.
    static constexpr PyxProtocol::ProtocolFacade::Handle kNoFacadeHandle = 1;
};

namespace
{
// Readers destroyed whose callback threads may still run, by handle, guarded by _instancesMutex: a later
// DestroyInstance of the same handle (a second close, or a close after the reader closed itself from a
// callback) waits for them too. Entries go once nothing of theirs runs. Built before, and so torn down after,
// the registry's lifetime object.
std::unordered_map<void*, std::shared_ptr<CallbackThreads>> closingReaders;

ReaderRegistryLifetime registryLifetime;
} // namespace

AbstractReader::AbstractReader(void* facade, void* facadeHandle)
    : callbackHandler_(std::make_unique<GetCardDataCallbackHandler>()), metadata_{},
      facadeHandle_(facadeHandle), facade_(static_cast<PyxProtocol::ProtocolFacade*>(facade)),
      sequenceLock_(std::make_unique<Detail::SequenceLock>())
{
}

AbstractReader::~AbstractReader()
{
    callbackHandler_->Shutdown();
}

void* AbstractReader::CreateReaderInstance(const PyxCommon::ReaderDefinition& definition, int retryCount)
{
    return CreateReaderInstanceWith(
        definition, [&](ProtocolCommandResult& result)
        { return PyxProtocol::ProtocolFacade::CreateInstance(definition, retryCount, &result); });
}

void* AbstractReader::CreateReaderInstanceWith(
    const PyxCommon::ReaderDefinition& definition,
    const std::function<std::uint64_t(ProtocolCommandResult&)>& createFacade)
{
    std::lock_guard lock(_instancesMutex);
    Log().Debug(
        kReaderTag,
        fmt::format("Creating Lyrant instance with reader definition: ProtocolType={}, VendorId=0x{:04X}, "
                    "ProductId=0x{:04X}, UsbPath={}, SerialNumber={}",
                    static_cast<int>(definition.ProtocolType), definition.DeviceId.VendorId,
                    definition.DeviceId.ProductId, PyxCommon::FieldText(definition.DeviceId.UsbPath),
                    PyxCommon::FieldText(definition.DeviceId.SerialNumber)));
    ProtocolCommandResult result{};
    const FacadeHandle facadeHandle = createFacade(result);
    if (result.HasException)
    {
        throw ReaderException(PyxCommon::FieldText(result.Message), PYX_SOURCE_FILE,
                              kLineFacadeCreationFailed, "CreateReaderInstance");
    }
    // From here on a failure must not leave the new facade (and its open connection) behind.
    struct FacadeOwner
    {
        FacadeHandle handle;
        ~FacadeOwner()
        {
            if (handle != 0)
            {
                PyxProtocol::ProtocolFacade::DestroyInstance(handle);
            }
        }
    } owner{facadeHandle};

    // The registry keeps the facade alive until the reader destroys it through its handle.
    PyxProtocol::ProtocolFacade* facade = PyxProtocol::ProtocolFacade::GetInstance(facadeHandle).get();
    if (facade == nullptr)
    {
        throw ReaderException("Failed to get protocol facade instance", PYX_SOURCE_FILE,
                              kLineFacadeLookupFailed, "CreateReaderInstance");
    }
    std::shared_ptr<AbstractReader> reader(
        ReaderFactory::BuildLyrant(facade, FacadeHandleAsPointer(facadeHandle)));
    reader->protocolType_ = static_cast<std::uint8_t>(definition.ProtocolType);
    // Never the handle of an earlier reader, as an address could be: a host that closes a handle twice, or
    // uses it after the close, finds nothing instead of a reader opened since.
    void* handle = HandleFromId(++_nextHandleId);
    _instances.emplace(handle, std::move(reader));
    owner.handle = 0;
    return handle;
}

AbstractReader* AbstractReader::GetInstance(void* handle)
{
    return AcquireInstance(handle).get();
}

std::shared_ptr<AbstractReader> AbstractReader::AcquireInstance(void* handle)
{
    if (handle == nullptr)
    {
        return nullptr;
    }
    std::lock_guard lock(_instancesMutex);
    const auto found = _instances.find(handle);
    return found != _instances.end() ? found->second : nullptr;
}

void AbstractReader::DestroyInstance(void* handle)
{
    if (handle == nullptr)
    {
        return;
    }
    std::shared_ptr<AbstractReader> reader;
    std::shared_ptr<CallbackThreads> threads;
    {
        std::lock_guard lock(_instancesMutex);
        std::erase_if(closingReaders, [](const auto& entry) { return entry.second->AllEnded(); });
        const auto found = _instances.find(handle);
        if (found == _instances.end() || found->second->IsDestroying())
        {
            const auto closing = closingReaders.find(handle);
            if (closing != closingReaders.end())
            {
                threads = closing->second;
            }
        }
        else
        {
            reader = std::move(found->second);
            _instances.erase(found);
            threads = reader->callbackHandler_->Threads();
            threads->BeginClose();
            closingReaders[handle] = threads;
        }
    }
    if (!reader)
    {
        // Closed already, or being closed: success, once nothing of that reader runs any more (at once when
        // called from one of its own callbacks).
        if (threads)
        {
            threads->WaitForAll();
        }
        return;
    }
    struct CloseEnd
    {
        CallbackThreads& threads;
        ~CloseEnd() { threads.EndClose(); }
    } closeEnd{*threads};
    if (reader->destroying_.exchange(true))
    {
        return;
    }
    // The credential threads end before anything they use is released; a callback destroying its own
    // reader hands its thread to the reaper. A dispatch thread that another stopper is joining, or that was
    // handed over, is waited for all the same.
    reader->callbackHandler_->Shutdown();
    threads->WaitForThreads();
    {
        std::lock_guard lock(reader->instanceMutex_);
        reader->ReleaseLocked();
    }
    // The object itself goes with the last caller still holding it.
}

void AbstractReader::CheckUsable() const
{
    if (IsDestroying())
    {
        throw std::runtime_error("AbstractReader instance is being destroyed");
    }
    if (facade_ == nullptr)
    {
        throw std::runtime_error("AbstractReader instance has invalid protocol facade");
    }
}

void AbstractReader::Init()
{
    const std::lock_guard sequence(SequenceMutex());
    std::lock_guard lock(instanceMutex_);
    CheckUsable();
    Log().Debug(kReaderTag, "Initializing PYX Reader instance.");
    PopulateMetadata();
    metadataPopulated_ = true;
}

void AbstractReader::Close()
{
    // Polling stops before the facade goes, and again afterwards for a subscriber that started it meanwhile;
    // once the facade is released nothing starts it again. Not under the instance mutex: a callback being
    // joined may itself be waiting for it.
    callbackHandler_->Stop();
    {
        std::lock_guard lock(instanceMutex_);
        ReleaseLocked();
    }
    callbackHandler_->Stop();
}

void AbstractReader::ReleaseLocked()
{
    PyxProtocol::ProtocolFacade* facade = nullptr;
    void* facadeHandle = nullptr;
    // Freed here unless an operation still holds it; then with that operation's end.
    std::shared_ptr<const ReaderCapabilityProfile> released;
    {
        std::unique_lock lock(stateMutex_);
        released = std::move(profile_);
        facade = facade_;
        facadeHandle = facadeHandle_;
        facade_ = nullptr;
        facadeHandle_ = nullptr;
        // New operations now fail at their start; those already running still use the facade.
        operationsEnded_.wait(lock, [this] { return operationsInProgress_ == 0; });
    }
    if (facadeHandle != nullptr && facade != nullptr)
    {
        PyxProtocol::ProtocolFacade::DestroyInstance(PointerAsFacadeHandle(facadeHandle));
    }
}

ReaderMetadataStruct AbstractReader::GetMetadataStruct(bool refresh)
{
    const std::lock_guard sequence(SequenceMutex());
    std::lock_guard lock(instanceMutex_);
    CheckUsable();
    if (refresh || !metadataPopulated_)
    {
        Log().Debug(kReaderTag, "Populating reader metadata (lazy load).");
        PopulateMetadata();
        metadataPopulated_ = true;
    }
    return MetadataSnapshot();
}

void AbstractReader::RefreshMetadata()
{
    const std::lock_guard sequence(SequenceMutex());
    std::lock_guard lock(instanceMutex_);
    CheckUsable();
    Log().Debug(kReaderTag, "Refreshing reader metadata.");
    PopulateMetadata();
    metadataPopulated_ = true;
}

void AbstractReader::PopulateMetadata()
{
    Log().Debug(kReaderTag, "Populating ReaderMetadata from protocol facade.");
    if (facade_ == nullptr)
    {
        throw ReaderException("Reader Metadata was given a null protocol facade pointer.", PYX_SOURCE_FILE,
                              kLineNullFacade, "PopulateMetadata");
    }
    // Filled aside and published whole, so the capability rules never read a record half written.
    auto fresh = std::make_unique<ReaderMetadataStruct>();
    fresh->ProtocolType = protocolType_;
    try
    {
        Detail::FillMetadata(*facade_, *fresh);
    }
    catch (...)
    {
        Log().Debug(kReaderTag, "Reader Metadata: Unable to populate an unavailable metadata property.");
    }
    std::lock_guard lock(metadataMutex_);
    metadata_ = *fresh;
}

ReaderMetadataStruct AbstractReader::MetadataSnapshot() const
{
    std::lock_guard lock(metadataMutex_);
    return metadata_;
}

const ReaderCapabilityProfile& AbstractReader::GetReaderCapabilityProfile() const
{
    Log().Trace(kReaderTag, "Returning reader capability profile.");
    return GetCapabilityProfile();
}

const ReaderCapabilityProfile& AbstractReader::GetCapabilityProfile() const
{
    std::lock_guard lock(stateMutex_);
    if (!profile_)
    {
        throw ReaderException("Reader capability profile not initialized. Call Init() first.",
                              kAbstractReaderHeader, kLineProfileNotInitialized, "GetCapabilityProfile");
    }
    return *profile_;
}

void* AbstractReader::GetProtocolFacade() const
{
    std::lock_guard lock(stateMutex_);
    return facade_;
}

bool AbstractReader::HasProfileLocked() const
{
    std::lock_guard lock(stateMutex_);
    return profile_ != nullptr;
}

void AbstractReader::InstallProfileLocked(std::shared_ptr<const ReaderCapabilityProfile> profile)
{
    {
        std::lock_guard lock(stateMutex_);
        profile_.swap(profile);
    }
    // `profile` now holds the replaced one, freed here unless an operation still holds it.
}

AbstractReader::OperationScope::OperationScope(const AbstractReader& reader)
    : reader_(reader), facade_(nullptr)
{
    std::lock_guard lock(reader.stateMutex_);
    if (!reader.profile_ || reader.facade_ == nullptr)
    {
        throw ReaderException("Reader capability profile not initialized. Call Init() first.",
                              kAbstractReaderHeader, kLineProfileNotInitialized, "GetCapabilityProfile");
    }
    profile_ = reader.profile_;
    facade_ = reader.facade_;
    ++reader.operationsInProgress_;
}

AbstractReader::OperationScope::~OperationScope()
{
    std::lock_guard lock(reader_.stateMutex_);
    if (--reader_.operationsInProgress_ == 0)
    {
        reader_.operationsEnded_.notify_all();
    }
}
} // namespace Pyx
