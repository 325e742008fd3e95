#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "PyxExport.h"
#include "Reader/PyxResult.h"
#include "Reader/ReaderMetadata.h"
#include "Structures/ReaderDefinition.h"

struct ProtocolCommandResult;

namespace PyxProtocol
{
class ProtocolFacade;
}

namespace Pyx
{
namespace Detail
{
class SequenceLock;
}
class GetCardDataCallbackHandler;
class ReaderCapabilityProfile;
struct LibraryInfo;
namespace Testing
{
class ReaderCreation;
}

// One open reader. A host gets a handle from CreateReaderInstance, calls Init, runs reader operations and
// queries, and ends with DestroyInstance. A handle is valid while it is registered; an unknown or destroyed
// handle is refused, never followed.
class PYX_API AbstractReader
{
public:
    AbstractReader(const AbstractReader&) = delete;
    AbstractReader& operator=(const AbstractReader&) = delete;
    virtual ~AbstractReader();

    // Stops polling and releases the capability profile and the protocol facade (after every operation in
    // progress has ended); the reader stays registered, and every later operation fails until it is
    // destroyed. Subscriptions stay until then.
    virtual void Close();
    // Reads the reader's metadata; Pyx::Reader also installs the capability profile and resumes polling.
    // After Close, or while DestroyInstance runs, throws std::runtime_error ("AbstractReader instance has
    // invalid protocol facade", "AbstractReader instance is being destroyed"), as GetMetadataStruct and
    // RefreshMetadata do.
    virtual void Init();
    // The reference stays valid until the next Init or Close of this reader, which replace or release the
    // profile.
    virtual const ReaderCapabilityProfile& GetReaderCapabilityProfile() const;

    // Opens the reader's facade and registers a new reader; does not initialise it.
    static void* CreateReaderInstance(const PyxCommon::ReaderDefinition& definition, int retryCount);
    // The registered reader, or null for a null or unknown handle. The pointer is only safe while nothing
    // destroys the reader; AcquireInstance keeps it alive.
    static AbstractReader* GetInstance(void* handle);
    // The registered reader, kept alive (not necessarily open) for as long as the caller holds it; null for
    // a null or unknown handle.
    static std::shared_ptr<AbstractReader> AcquireInstance(void* handle);
    // Unregisters the reader, stops its credential threads, waits for its operations in progress, releases
    // its facade and deletes it once no caller holds it. Null, unknown and destroyed handles are ignored.
    static void DestroyInstance(void* handle);

    // The metadata, read from the reader on first use or when refresh is true.
    ReaderMetadataStruct GetMetadataStruct(bool refresh);
    void RefreshMetadata();

    static PyxResult GetLibraryInfo(LibraryInfo& info);
    static PyxResult GetLibraryInfoAsString(char* buffer, std::size_t bufferSize);

protected:
    AbstractReader(void* facade, void* facadeHandle);

    // Holds this reader's profile and facade for one operation: Close, Init and DestroyInstance never
    // release what a running operation uses. Throws "Reader capability profile not initialized. Call Init()
    // first." when the reader is not initialised (or was closed).
    class PYX_API OperationScope
    {
    public:
        explicit OperationScope(const AbstractReader& reader);
        ~OperationScope();
        OperationScope(const OperationScope&) = delete;
        OperationScope& operator=(const OperationScope&) = delete;

        const ReaderCapabilityProfile& Profile() const { return *profile_; }
        PyxProtocol::ProtocolFacade* Facade() const { return facade_; }

    private:
        const AbstractReader& reader_;
        std::shared_ptr<const ReaderCapabilityProfile> profile_;
        PyxProtocol::ProtocolFacade* facade_;
    };

    // The current profile; throws as OperationScope does. Valid until the next Init or Close; operations use
    // OperationScope, which keeps theirs alive.
    const ReaderCapabilityProfile& GetCapabilityProfile() const;
    void* GetProtocolFacade() const;
    bool IsDestroying() const { return destroying_.load(); }

    // The metadata record as last published, copied whole.
    ReaderMetadataStruct MetadataSnapshot() const;
    // The record the capability rules read, and the lock under which it is read and replaced.
    const ReaderMetadataStruct& MetadataRecord() const { return metadata_; }
    std::mutex& MetadataMutex() const { return metadataMutex_; }

    GetCardDataCallbackHandler& CallbackHandler() const { return *callbackHandler_; }
    // Held by every operation for its whole run, and by the metadata walk, which selects configurations too;
    // recursive, since composite operations run others, and granted in the order it was asked for. Taken
    // before the instance mutex and before an operation's scope, so a thread waiting for it holds nothing
    // that Close waits for.
    Detail::SequenceLock& SequenceMutex() const { return *sequenceLock_; }
    // Serialises Init, Close, metadata population, subscription and the release phase of DestroyInstance.
    std::mutex& InstanceMutex() const { return instanceMutex_; }
    // With the instance mutex held: throws when the reader is being destroyed or has no facade.
    void CheckUsable() const;
    PyxProtocol::ProtocolFacade* FacadeLocked() const { return facade_; }
    bool HasProfileLocked() const;
    // With the instance mutex held: installs a new profile; operations still running keep the old one.
    void InstallProfileLocked(std::shared_ptr<const ReaderCapabilityProfile> profile);

private:
    // CreateReaderInstance with the facade made by `createFacade` (which returns its handle, or 0 with the
    // result filled), under the registry lock.
    static void*
    CreateReaderInstanceWith(const PyxCommon::ReaderDefinition& definition,
                             const std::function<std::uint64_t(ProtocolCommandResult&)>& createFacade);
    // Reads the whole record from the reader into a fresh record and publishes it at once.
    void PopulateMetadata();
    // With the instance mutex held: detaches profile and facade, waits for the operations still using them
    // and destroys the facade.
    void ReleaseLocked();

    std::unique_ptr<GetCardDataCallbackHandler> callbackHandler_;
    std::shared_ptr<const ReaderCapabilityProfile> profile_;
    ReaderMetadataStruct metadata_;
    void* facadeHandle_;
    bool metadataPopulated_ = false;
    PyxProtocol::ProtocolFacade* facade_;
    // The protocol of the definition the reader was opened with; 0 for a reader built on a facade directly.
    std::uint8_t protocolType_ = 0;
    std::unique_ptr<Detail::SequenceLock> sequenceLock_;
    mutable std::mutex instanceMutex_;
    std::atomic<bool> destroying_{false};

    mutable std::mutex metadataMutex_;
    // Guards profile_, facade_ as operations see them, and the count of operations in progress.
    mutable std::mutex stateMutex_;
    mutable std::condition_variable operationsEnded_;
    mutable std::size_t operationsInProgress_ = 0;

    static std::unordered_map<void*, std::shared_ptr<AbstractReader>> _instances;
    static std::mutex _instancesMutex;
    // The last reader handle given; handles are numbers, never reused in the process.
    static std::atomic<unsigned long long> _nextHandleId;

    friend class ReaderRegistryLifetime;
    friend class Testing::ReaderCreation;
};
} // namespace Pyx
