#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "Configuration/ConfigurationManagement.h"
#include "Configuration/ReaderConfiguration.h"
#include "Operations/Beeper.h"
#include "Operations/CardAnalyzer.h"
#include "Operations/CardData.h"
#include "Operations/FirmwareVersion.h"
#include "Operations/Identification.h"
#include "Operations/ModuleState.h"
#include "Operations/TransparentMode.h"
#include "ProtocolCommandResult.h"
#include "Protocols/Protocol.h"
#include "Structures/BleConfiguration.h"
#include "Structures/ExtendedConfiguration.h"
#include "Structures/ReaderDefinition.h"
#include "Structures/SmartCardConfiguration.h"
#include "Transport.h"
#include "Utility/TimeDelay.h"

namespace PyxProtocol
{
// The protocol library's front door for one open reader: it owns the reader's protocol and transport and runs
// the reader's operations one at a time. Facades live in a process-wide registry under a handle.
//
// Every operation takes the facade's mutex for its whole length and fails with std::runtime_error
// "ProtocolFacade instance is being destroyed" once DestroyInstance has begun (or "ProtocolFacade instance
// has invalid protocol or transport"); every other failure is reported in the returned record, and output
// arguments are written only when the operation succeeded.
class ProtocolFacade
{
public:
    // The registry key of a facade: its address; 0 means none.
    using Handle = std::uint64_t;

    // How creation makes the transport and how operations make the delays their commands wait through; the
    // plain CreateInstance uses the transport factory and real delays. For tests and benchmarks.
    struct Seams
    {
        std::function<std::unique_ptr<PyxTransport::Transport>(const PyxCommon::ReaderDefinition&)>
            MakeTransport;
        // Null: real delays.
        std::function<std::unique_ptr<PyxCommon::TimeDelay>()> MakeDelay;
    };

    // Opens the reader described by `definition` (up to `retryCount` attempts for a USB reader; a negative
    // count makes none) and registers its facade. Returns the handle, or 0 when creation failed; `result`
    // (when not null, passed zeroed) says why. A failed creation leaves nothing registered and no device
    // open, and throws only when the facade object itself cannot be allocated (std::bad_alloc).
    static Handle CreateInstance(const PyxCommon::ReaderDefinition& definition, int retryCount,
                                 ProtocolCommandResult* result);
    static Handle CreateInstance(const PyxCommon::ReaderDefinition& definition, int retryCount,
                                 ProtocolCommandResult* result, const Seams& seams);
    // The registered facade, or null for 0 and for handles not (or no longer) registered. Holding the
    // returned pointer keeps the object valid through a concurrent DestroyInstance: operations on it then
    // fail with "ProtocolFacade instance is being destroyed" instead of touching freed memory.
    static std::shared_ptr<ProtocolFacade> GetInstance(Handle handle);
    // Unregisters the facade, waits for the operation in progress and closes the reader. 0, unknown handles
    // and a facade already being destroyed are ignored.
    static void DestroyInstance(Handle handle);

    // The supported USB readers present, each as a FeatureReport reader definition; `readers` is replaced
    // only when the devices could be listed. Needs no facade.
    static ProtocolCommandResult DiscoverUsbReaders(std::vector<PyxCommon::ReaderDefinition>& readers);

    virtual ~ProtocolFacade();
    ProtocolFacade(const ProtocolFacade&) = delete;
    ProtocolFacade& operator=(const ProtocolFacade&) = delete;

    ProtocolCommandResult Beep(std::uint8_t count, BEEP_DURATION duration);
    // `state` is the state to set for a Set, and receives the state the reader reports.
    ProtocolCommandResult ConfigureModuleState(ReaderModuleAction action, ReaderModuleId module,
                                               ReaderModuleState& state);
    ProtocolCommandResult CopyConfiguration(ConfigurationLocation source, ConfigurationLocation destination,
                                            std::uint8_t value1, std::uint8_t value2);
    ProtocolCommandResult EnableTransparentMode(bool enable);
    ProtocolCommandResult GetActiveConfiguration(ActiveConfigurationInformation& information);
    ProtocolCommandResult GetBeeperVolume(BeepVolume& volume);
    ProtocolCommandResult GetBleBlob(PyxCommon::BleDataType dataType, std::vector<std::uint8_t>& data);
    ProtocolCommandResult GetBlob(const PyxCommon::BlobHeader& header, std::vector<std::uint8_t>& data);
    ProtocolCommandResult GetBluetoothFirmwareVersion(BluetoothFirmwareVersion& version,
                                                      FirmwareVersionModuleType moduleType);
    ProtocolCommandResult GetCardAnalyzerStatus(CardAnalyzerStatus& status);
    ProtocolCommandResult GetCardReadPayload(GetCardDataSizeParameters size, CardReadPayload& payload);
    // Selects configuration `configurationNumber`, then reads its five blocks; `configuration` is written
    // only when all six steps succeeded.
    ProtocolCommandResult GetConfiguration(std::uint8_t configurationNumber,
                                           ReaderConfiguration& configuration);
    ProtocolCommandResult GetConfigurationBlock1(ReaderConfigurationBlock1& block);
    ProtocolCommandResult GetConfigurationBlock2(ReaderConfigurationBlock2& block);
    ProtocolCommandResult GetConfigurationBlock3(ReaderConfigurationBlock3& block);
    ProtocolCommandResult GetControlFirmwareVersion(MicrocontrollerFirmwareVersion& version,
                                                    FirmwareVersionModuleType moduleType);
    // The identity the reader was opened with; nothing is sent.
    ProtocolCommandResult GetDeviceId(PyxCommon::DeviceId& deviceId);
    // Text results: copied with a closing zero byte; a buffer too small (or null) fails and stays untouched.
    ProtocolCommandResult GetESN(char* buffer, std::size_t size);
    ProtocolCommandResult GetExtendedConfiguration(PyxCommon::ExtendedConfiguration& configuration);
    ProtocolCommandResult GetFelicaSamFirmwareVersion(FelicaSamFirmwareVersion& version);
    ProtocolCommandResult GetHidSeSamFirmwareVersion(HidSeSamFirmwareVersion& version);
    ProtocolCommandResult GetInstalledHardware(::InstalledHardwareInformation& information);
    ProtocolCommandResult GetLuid(LuidResponseInformation& information);
    ProtocolCommandResult GetNxpAvxSamFirmwareVersion(NxpSamFirmwareVersion& version);
    ProtocolCommandResult GetPartNumber(char* buffer, std::size_t size);
    ProtocolCommandResult GetQueuedId(const QueuedIdFlagParameters& flags, QueuedIdInformation& information);
    ProtocolCommandResult GetRadioFirmwareVersion(MicrocontrollerFirmwareVersion& version,
                                                  FirmwareVersionModuleType moduleType);
    ProtocolCommandResult GetString(char* buffer, std::size_t size, GetStringIndex index);
    // Replaces the contents of `cards`.
    ProtocolCommandResult GetSupportedCards(std::vector<std::uint16_t>& cards);
    ProtocolCommandResult GetTransparentModeStatus(TransparentModeStatusInformation& status);
    ProtocolCommandResult LoadStoredDefaults();
    ProtocolCommandResult SetActiveConfiguration(std::uint8_t configurationNumber);
    ProtocolCommandResult SetBeeperVolume(BeepVolume volume);
    ProtocolCommandResult SetBleBlob(PyxCommon::BleDataType dataType, const std::vector<std::uint8_t>& data);
    ProtocolCommandResult SetBlob(const PyxCommon::BlobHeader& header, const std::vector<std::uint8_t>& data);
    // Selects configuration `configurationNumber`, then writes its five blocks; a failure leaves the steps
    // before it done.
    ProtocolCommandResult SetConfiguration(std::uint8_t configurationNumber,
                                           const ReaderConfiguration& configuration);
    ProtocolCommandResult SetConfigurationBlock1(std::uint8_t configurationNumber,
                                                 const ReaderConfigurationBlock1& block);
    ProtocolCommandResult SetConfigurationBlock3(std::uint8_t configurationNumber,
                                                 const ReaderConfigurationBlock3& block);
    ProtocolCommandResult SetExtendedConfiguration(const PyxCommon::ExtendedConfiguration& configuration,
                                                   const PyxCommon::HashData& hash);
    ProtocolCommandResult SetLuid(std::uint16_t luid);
    // `writeLuidToFlash` is 0 or 1.
    ProtocolCommandResult WriteConfiguration(std::uint8_t writeLuidToFlash);

private:
    ProtocolFacade() = default;

    // Takes the facade's mutex, refuses a facade being destroyed or without its objects, and logs the
    // operation; the operation runs while the returned lock is held.
    std::unique_lock<std::mutex> Enter(const char* logName);
    // Runs `body` through Enter and the result capture.
    template <typename Body> ProtocolCommandResult Guarded(const char* logName, Body&& body);
    // Builds a `Visitor` from `arguments` and runs it on the reader.
    template <typename Visitor, typename... Arguments> void Send(Arguments&&... arguments);
    // Builds the visitor that `Read` belongs to from `arguments`, runs it on the reader and returns what
    // `Read` reads from it.
    template <auto Read, typename... Arguments> auto Fetch(Arguments&&... arguments);
    // The delay of a command that must wait: the seam's, else a real one.
    std::unique_ptr<PyxCommon::TimeDelay> MakeDelay() const;
    // The seam's delay, else none, so that the command keeps its own.
    std::unique_ptr<PyxCommon::TimeDelay> OptionalDelay() const;

    std::unique_ptr<Protocol> _protocol;
    std::unique_ptr<PyxTransport::Transport> _transport;
    std::mutex _mutex;
    std::atomic<bool> _isBeingDestroyed{false};
    std::function<std::unique_ptr<PyxCommon::TimeDelay>()> _makeDelay;
};
} // namespace PyxProtocol
