#include "ProtocolFacade.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>

#include <fmt/format.h>

#include "Logging/Logger.h"
#include "ProtocolException.h"
#include "ProtocolFacadeResult.h"
#include "ProtocolFacadeText.h"
#include "Protocols/ProtocolFactory.h"
#include "TransportFactory.h"
#include "Visitors/BeepVisitor.h"
#include "Visitors/ConfigureModuleStateVisitor.h"
#include "Visitors/CopyConfigurationVisitor.h"
#include "Visitors/EnableTransparentModeVisitor.h"
#include "Visitors/GetActiveConfigurationVisitor.h"
#include "Visitors/GetBeeperVolumeVisitor.h"
#include "Visitors/GetBleBlobVisitor.h"
#include "Visitors/GetBlobVisitor.h"
#include "Visitors/GetBluetoothFirmwareVersionVisitor.h"
#include "Visitors/GetCardAnalyzerStatusVisitor.h"
#include "Visitors/GetCardReadPayloadVisitor.h"
#include "Visitors/GetConfigurationBlock1Visitor.h"
#include "Visitors/GetConfigurationBlock2Visitor.h"
#include "Visitors/GetConfigurationBlock3Visitor.h"
#include "Visitors/GetConfigurationBlock4Visitor.h"
#include "Visitors/GetConfigurationBlock5Visitor.h"
#include "Visitors/GetControlFirmwareVersionVisitor.h"
#include "Visitors/GetESNVisitor.h"
#include "Visitors/GetExtendedConfigurationVisitor.h"
#include "Visitors/GetInstalledHardwareVisitor.h"
#include "Visitors/GetLuidVisitor.h"
#include "Visitors/GetPartNumberVisitor.h"
#include "Visitors/GetQueuedIdVisitor.h"
#include "Visitors/GetRadioFirmwareVersionVisitor.h"
#include "Visitors/GetSamFirmwareVersionVisitor.h"
#include "Visitors/GetStringVisitor.h"
#include "Visitors/GetSupportedCardsVisitor.h"
#include "Visitors/GetTransparentModeStatusVisitor.h"
#include "Visitors/LoadStoredDefaultsVisitor.h"
#include "Visitors/SetActiveConfigurationVisitor.h"
#include "Visitors/SetBeeperVolumeVisitor.h"
#include "Visitors/SetBleBlobVisitor.h"
#include "Visitors/SetBlobVisitor.h"
#include "Visitors/SetConfigurationBlock1Visitor.h"
#include "Visitors/SetConfigurationBlock2Visitor.h"
#include "Visitors/SetConfigurationBlock3Visitor.h"
#include "Visitors/SetConfigurationBlock4Visitor.h"
#include "Visitors/SetConfigurationBlock5Visitor.h"
#include "Visitors/SetExtendedConfigurationVisitor.h"
#include "Visitors/SetLuidVisitor.h"
#include "Visitors/WriteConfigurationVisitor.h"

namespace PyxProtocol
{
namespace
{
PyxCommon::Logger& logger = PyxCommon::Logger::GetInstance(false, true);

// The registry owns every live facade; an operation in progress co-owns its facade through the pointer it
// was handed, so a destroy never frees an object that a caller is still inside.
struct Registry
{
    std::mutex _facadeInstancesMutex;
    std::unordered_map<ProtocolFacade::Handle, std::shared_ptr<ProtocolFacade>> _facadeInstances;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

// Built at load, so that the registry exists before any host thread can reach it.
[[maybe_unused]] Registry& registryAtLoad = registry();

constexpr const char* kCreationPrefix = "Failed to create protocol instance: ";

// The lines that callers see in the "too small" records of the three text copy-outs.
constexpr int kLineEsnBufferTooSmall = 958;
constexpr int kLinePartNumberBufferTooSmall = 978;
constexpr int kLineStringBufferTooSmall = 1053;
constexpr const char* kCopyOutFunction = "operator ()";

// Copies a text result with its closing zero byte, or refuses a buffer that cannot hold both (a null buffer
// holds nothing); the buffer is untouched on refusal.
void CopyOut(const std::string& text, char* buffer, std::size_t size, int line)
{
    if (buffer == nullptr || text.size() >= size)
    {
        throw ProtocolException("Input buffer is too small to hold the result.", PYX_SOURCE_FILE, line,
                                kCopyOutFunction);
    }
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
}

// The visitor class that a result reader such as &GetLuidVisitor::GetResult belongs to.
template <typename> struct VisitorOf;
template <typename Result, typename Visitor> struct VisitorOf<Result (Visitor::*)() const>
{
    using Type = Visitor;
};

void RecordCreationFailure(ProtocolCommandResult* result, const char* type, const std::string& message)
{
    if (result == nullptr)
    {
        return;
    }
    result->HasException = true;
    CopyText(result->ExceptionType, type);
    CopyText(result->Message, message);
}
} // namespace

ProtocolFacade::Handle ProtocolFacade::CreateInstance(const PyxCommon::ReaderDefinition& definition,
                                                      int retryCount, ProtocolCommandResult* result)
{
    return CreateInstance(definition, retryCount, result, Seams{});
}

ProtocolFacade::Handle ProtocolFacade::CreateInstance(const PyxCommon::ReaderDefinition& definition,
                                                      int retryCount, ProtocolCommandResult* result,
                                                      const Seams& seams)
{
    Registry& instances = registry();
    // Held while the transport connects too: creations are serialised and look-ups wait for them.
    std::lock_guard<std::mutex> lock(instances._facadeInstancesMutex);
    std::shared_ptr<ProtocolFacade> facade(new ProtocolFacade());
    try
    {
        std::unique_ptr<Protocol> protocol = GetProtocol(definition.ProtocolType);
        std::unique_ptr<PyxTransport::Transport> transport =
            seams.MakeTransport ? seams.MakeTransport(definition)
                                : PyxTransport::TransportFactory::CreateTransport(definition);
        logger.Trace("PROTOCOL", fmt::format("Protocol Instance Created: {}\nTransport Instance Created: {}",
                                             static_cast<const void*>(protocol.get()),
                                             static_cast<const void*>(transport.get())));
        if (!protocol || !transport)
        {
            RecordCreationFailure(result, "InitializationException",
                                  "Failed to create protocol or transport");
            return 0;
        }
        // A negative count is no count at all: it must not wrap round to billions of attempts.
        transport->init(static_cast<std::uint32_t>(std::max(retryCount, 0)));
        facade->_protocol = std::move(protocol);
        facade->_transport = std::move(transport);
        facade->_makeDelay = seams.MakeDelay;
        const auto handle = static_cast<Handle>(reinterpret_cast<std::uintptr_t>(facade.get()));
        // Should the insertion fail, the facade and with it the open transport go with the exception.
        instances._facadeInstances.emplace(handle, std::move(facade));
        if (result != nullptr)
        {
            result->HasException = false;
        }
        return handle;
    }
    catch (const TessmarException& error)
    {
        if (result != nullptr)
        {
            result->HasException = true;
            CopyText(result->ExceptionType, error.GetExceptionType());
            CopyText(result->Message, error.GetMessage());
            CopyText(result->FileName, error.GetFileName());
            result->LineNumber = error.GetLineNumber();
            CopyText(result->FunctionName, error.GetFunctionName());
        }
    }
    catch (const std::runtime_error& error)
    {
        RecordCreationFailure(result, "StdRuntimeError", std::string(kCreationPrefix) + error.what());
    }
    catch (const std::exception& error)
    {
        RecordCreationFailure(result, "StdException", std::string(kCreationPrefix) + error.what());
    }
    catch (...)
    {
        RecordCreationFailure(result, "UnknownException",
                              std::string(kCreationPrefix) +
                                  "Unknown exception (not derived from std::exception)");
    }
    return 0;
}

std::shared_ptr<ProtocolFacade> ProtocolFacade::GetInstance(Handle handle)
{
    if (handle == 0)
    {
        return nullptr;
    }
    Registry& instances = registry();
    std::lock_guard<std::mutex> lock(instances._facadeInstancesMutex);
    const auto found = instances._facadeInstances.find(handle);
    return found != instances._facadeInstances.end() ? found->second : nullptr;
}

void ProtocolFacade::DestroyInstance(Handle handle)
{
    if (handle == 0)
    {
        return;
    }
    std::shared_ptr<ProtocolFacade> facade;
    {
        Registry& instances = registry();
        std::lock_guard<std::mutex> lock(instances._facadeInstancesMutex);
        const auto found = instances._facadeInstances.find(handle);
        // Flagged before it leaves the registry: whoever finds the handle gone also finds the facade closing,
        // so an operation that got the facade earlier and has not started yet is turned away.
        if (found == instances._facadeInstances.end() || found->second->_isBeingDestroyed.exchange(true))
        {
            return;
        }
        facade = std::move(found->second);
        instances._facadeInstances.erase(found);
    }
    std::unique_ptr<Protocol> protocol;
    std::unique_ptr<PyxTransport::Transport> transport;
    {
        // Waits for the operation in progress; operations that queue up behind it see the flag and leave.
        std::lock_guard<std::mutex> lock(facade->_mutex);
        protocol = std::move(facade->_protocol);
        transport = std::move(facade->_transport);
    }
    protocol.reset();
    transport.reset();
}

ProtocolFacade::~ProtocolFacade() = default;

std::unique_ptr<PyxCommon::TimeDelay> ProtocolFacade::MakeDelay() const
{
    return _makeDelay ? _makeDelay() : std::make_unique<PyxCommon::TimeDelay>();
}

std::unique_ptr<PyxCommon::TimeDelay> ProtocolFacade::OptionalDelay() const
{
    return _makeDelay ? _makeDelay() : nullptr;
}

std::unique_lock<std::mutex> ProtocolFacade::Enter(const char* logName)
{
    std::unique_lock<std::mutex> lock(_mutex);
    if (_isBeingDestroyed.load())
    {
        throw std::runtime_error("ProtocolFacade instance is being destroyed");
    }
    if (!_protocol || !_transport)
    {
        throw std::runtime_error("ProtocolFacade instance has invalid protocol or transport");
    }
    logger.Trace("PROTOCOL", std::string("Facade: ") + logName);
    return lock;
}

template <typename Body> ProtocolCommandResult ProtocolFacade::Guarded(const char* logName, Body&& body)
{
    const std::unique_lock<std::mutex> lock = Enter(logName);
    return RunCheckedFacadeFunction(std::function<void()>(std::forward<Body>(body)));
}

template <typename Visitor, typename... Arguments> void ProtocolFacade::Send(Arguments&&... arguments)
{
    Visitor visitor(std::forward<Arguments>(arguments)...);
    _protocol->Accept(visitor, *_transport);
}

template <auto Read, typename... Arguments> auto ProtocolFacade::Fetch(Arguments&&... arguments)
{
    typename VisitorOf<decltype(Read)>::Type visitor(std::forward<Arguments>(arguments)...);
    _protocol->Accept(visitor, *_transport);
    return (visitor.*Read)();
}

ProtocolCommandResult ProtocolFacade::Beep(std::uint8_t count, BEEP_DURATION duration)
{
    return Guarded("Beep", [&] { Send<BeepVisitor>(count, duration); });
}

ProtocolCommandResult ProtocolFacade::ConfigureModuleState(ReaderModuleAction action, ReaderModuleId module,
                                                           ReaderModuleState& state)
{
    return Guarded("ConfigureModuleState",
                   [&] { state = Fetch<&ConfigureModuleStateVisitor::GetResult>(action, module, state); });
}

ProtocolCommandResult ProtocolFacade::CopyConfiguration(ConfigurationLocation source,
                                                        ConfigurationLocation destination,
                                                        std::uint8_t value1, std::uint8_t value2)
{
    return Guarded("CopyConfiguration", [&]
                   { Send<CopyConfigurationVisitor>(source, destination, value1, value2, OptionalDelay()); });
}

ProtocolCommandResult ProtocolFacade::EnableTransparentMode(bool enable)
{
    return Guarded("EnableTransparentMode", [&] { Send<EnableTransparentModeVisitor>(enable); });
}

ProtocolCommandResult ProtocolFacade::GetActiveConfiguration(ActiveConfigurationInformation& information)
{
    const std::unique_lock<std::mutex> lock = Enter("GetActiveConfiguration");
    // The only operation whose output is assigned by the capture itself, and only on success.
    return RunCheckedFacadeFunction([this] { return Fetch<&GetActiveConfigurationVisitor::GetResult>(); },
                                    information);
}

ProtocolCommandResult ProtocolFacade::GetBeeperVolume(BeepVolume& volume)
{
    return Guarded("GetBeeperVolume", [&] { volume = Fetch<&GetBeeperVolumeVisitor::GetResult>(); });
}

ProtocolCommandResult ProtocolFacade::GetBleBlob(PyxCommon::BleDataType dataType,
                                                 std::vector<std::uint8_t>& data)
{
    return Guarded("GetBleBlob",
                   [&] { data = Fetch<&GetBleBlobVisitor::GetResult>(dataType, OptionalDelay()); });
}

ProtocolCommandResult ProtocolFacade::GetBlob(const PyxCommon::BlobHeader& header,
                                              std::vector<std::uint8_t>& data)
{
    return Guarded("GetBlob", [&] { data = Fetch<&GetBlobVisitor::GetResult>(header); });
}

ProtocolCommandResult ProtocolFacade::GetBluetoothFirmwareVersion(BluetoothFirmwareVersion& version,
                                                                  FirmwareVersionModuleType moduleType)
{
    return Guarded("GetBluetoothFirmwareVersion",
                   [&] { version = Fetch<&GetBluetoothFirmwareVersionVisitor::GetResult>(moduleType); });
}

ProtocolCommandResult ProtocolFacade::GetCardAnalyzerStatus(CardAnalyzerStatus& status)
{
    return Guarded("GetCardAnalyzerStatus",
                   [&] { status = Fetch<&GetCardAnalyzerStatusVisitor::GetResult>(); });
}

ProtocolCommandResult ProtocolFacade::GetCardReadPayload(GetCardDataSizeParameters size,
                                                         CardReadPayload& payload)
{
    return Guarded("GetCardReadPayload",
                   [&] { payload = Fetch<&GetCardReadPayloadVisitor::GetResult>(size); });
}

ProtocolCommandResult ProtocolFacade::GetConfiguration(std::uint8_t configurationNumber,
                                                       ReaderConfiguration& configuration)
{
    return Guarded("GetConfiguration",
                   [&]
                   {
                       Send<SetActiveConfigurationVisitor>(configurationNumber);
                       const auto block1 = Fetch<&GetConfigurationBlock1Visitor::GetResult>();
                       const auto block2 = Fetch<&GetConfigurationBlock2Visitor::GetResult>();
                       const auto block3 = Fetch<&GetConfigurationBlock3Visitor::GetResult>();
                       const auto block4 = Fetch<&GetConfigurationBlock4Visitor::GetResult>();
                       const auto block5 = Fetch<&GetConfigurationBlock5Visitor::GetResult>();
                       // Only a whole configuration reaches the caller.
                       configuration.Block1 = block1;
                       configuration.Block2 = block2;
                       configuration.Block3 = block3;
                       configuration.Block4 = block4;
                       configuration.Block5 = block5;
                   });
}

ProtocolCommandResult ProtocolFacade::GetConfigurationBlock1(ReaderConfigurationBlock1& block)
{
    return Guarded("GetConfigurationBlock1",
                   [&] { block = Fetch<&GetConfigurationBlock1Visitor::GetResult>(); });
}

ProtocolCommandResult ProtocolFacade::GetConfigurationBlock2(ReaderConfigurationBlock2& block)
{
    return Guarded("GetConfigurationBlock2",
                   [&] { block = Fetch<&GetConfigurationBlock2Visitor::GetResult>(); });
}

ProtocolCommandResult ProtocolFacade::GetConfigurationBlock3(ReaderConfigurationBlock3& block)
{
    return Guarded("GetConfigurationBlock3",
                   [&] { block = Fetch<&GetConfigurationBlock3Visitor::GetResult>(); });
}

ProtocolCommandResult ProtocolFacade::GetControlFirmwareVersion(MicrocontrollerFirmwareVersion& version,
                                                                FirmwareVersionModuleType moduleType)
{
    return Guarded("GetControlFirmwareVersion",
                   [&] { version = Fetch<&GetControlFirmwareVersionVisitor::GetResult>(moduleType); });
}

ProtocolCommandResult ProtocolFacade::GetDeviceId(PyxCommon::DeviceId& deviceId)
{
    return Guarded("GetDeviceId",
                   [&]
                   {
                       const PyxCommon::DeviceId& opened = _transport->GetDefinition().DeviceId;
                       deviceId.VendorId = opened.VendorId;
                       deviceId.ProductId = opened.ProductId;
                       CopyText(deviceId.SerialNumber, FieldText(opened.SerialNumber));
                       CopyText(deviceId.UsbPath, FieldText(opened.UsbPath));
                   });
}

ProtocolCommandResult ProtocolFacade::GetESN(char* buffer, std::size_t size)
{
    return Guarded("GetESN", [&]
                   { CopyOut(Fetch<&GetESNVisitor::GetResult>(), buffer, size, kLineEsnBufferTooSmall); });
}

ProtocolCommandResult
ProtocolFacade::GetExtendedConfiguration(PyxCommon::ExtendedConfiguration& configuration)
{
    return Guarded("GetExtendedConfiguration",
                   [&] { configuration = Fetch<&GetExtendedConfigurationVisitor::GetResult>(); });
}

ProtocolCommandResult ProtocolFacade::GetFelicaSamFirmwareVersion(FelicaSamFirmwareVersion& version)
{
    return Guarded("GetFelicaSamFirmwareVersion",
                   [&]
                   {
                       version = Fetch<&GetSamFirmwareVersionVisitor::GetFelicaSamFirmwareVersion>(
                           FirmwareVersionModuleType::SamFelica);
                   });
}

ProtocolCommandResult ProtocolFacade::GetHidSeSamFirmwareVersion(HidSeSamFirmwareVersion& version)
{
    // The log name keeps the historic spelling that log readers search for.
    return Guarded("GetHideSeSamFirmwareVersion",
                   [&]
                   {
                       version = Fetch<&GetSamFirmwareVersionVisitor::GetHidSeSamFirmwareVersion>(
                           FirmwareVersionModuleType::SamHidSe);
                   });
}

ProtocolCommandResult ProtocolFacade::GetInstalledHardware(::InstalledHardwareInformation& information)
{
    return Guarded("GetInstalledHardware",
                   [&] { information = Fetch<&GetInstalledHardwareVisitor::GetResult>(); });
}

ProtocolCommandResult ProtocolFacade::GetLuid(LuidResponseInformation& information)
{
    return Guarded("GetLuid", [&] { information = Fetch<&GetLuidVisitor::GetResult>(); });
}

ProtocolCommandResult ProtocolFacade::GetNxpAvxSamFirmwareVersion(NxpSamFirmwareVersion& version)
{
    return Guarded("GetNxpAvxSamFirmwareVersion",
                   [&]
                   {
                       version = Fetch<&GetSamFirmwareVersionVisitor::GetNxpSamFirmwareVersion>(
                           FirmwareVersionModuleType::SamNxpAvx);
                   });
}

ProtocolCommandResult ProtocolFacade::GetPartNumber(char* buffer, std::size_t size)
{
    return Guarded(
        "GetPartNumber", [&]
        { CopyOut(Fetch<&GetPartNumberVisitor::GetResult>(), buffer, size, kLinePartNumberBufferTooSmall); });
}

ProtocolCommandResult ProtocolFacade::GetQueuedId(const QueuedIdFlagParameters& flags,
                                                  QueuedIdInformation& information)
{
    return Guarded("GetQueuedId", [&] { information = Fetch<&GetQueuedIdVisitor::GetResult>(flags); });
}

ProtocolCommandResult ProtocolFacade::GetRadioFirmwareVersion(MicrocontrollerFirmwareVersion& version,
                                                              FirmwareVersionModuleType moduleType)
{
    return Guarded("GetRadioFirmwareVersion",
                   [&] { version = Fetch<&GetRadioFirmwareVersionVisitor::GetResult>(moduleType); });
}

ProtocolCommandResult ProtocolFacade::GetString(char* buffer, std::size_t size, GetStringIndex index)
{
    return Guarded(
        "GetString", [&]
        { CopyOut(Fetch<&GetStringVisitor::GetResult>(index), buffer, size, kLineStringBufferTooSmall); });
}

ProtocolCommandResult ProtocolFacade::GetSupportedCards(std::vector<std::uint16_t>& cards)
{
    return Guarded("GetSupportedCards", [&] { cards = Fetch<&GetSupportedCardsVisitor::GetResult>(); });
}

ProtocolCommandResult ProtocolFacade::GetTransparentModeStatus(TransparentModeStatusInformation& status)
{
    return Guarded("GetTransparentModeStatus",
                   [&] { status = Fetch<&GetTransparentModeStatusVisitor::GetResult>(); });
}

ProtocolCommandResult ProtocolFacade::LoadStoredDefaults()
{
    return Guarded("LoadStoredDefaults", [&] { Send<LoadStoredDefaultsVisitor>(MakeDelay()); });
}

ProtocolCommandResult ProtocolFacade::SetActiveConfiguration(std::uint8_t configurationNumber)
{
    return Guarded("SetActiveConfiguration",
                   [&] { Send<SetActiveConfigurationVisitor>(configurationNumber); });
}

ProtocolCommandResult ProtocolFacade::SetBeeperVolume(BeepVolume volume)
{
    return Guarded("SetBeeperVolume", [&] { Send<SetBeeperVolumeVisitor>(volume); });
}

ProtocolCommandResult ProtocolFacade::SetBleBlob(PyxCommon::BleDataType dataType,
                                                 const std::vector<std::uint8_t>& data)
{
    return Guarded("SetBleBlob", [&] { Send<SetBleBlobVisitor>(dataType, data, OptionalDelay()); });
}

ProtocolCommandResult ProtocolFacade::SetBlob(const PyxCommon::BlobHeader& header,
                                              const std::vector<std::uint8_t>& data)
{
    return Guarded("SetBlob", [&] { Send<SetBlobVisitor>(header, data, OptionalDelay()); });
}

ProtocolCommandResult ProtocolFacade::SetConfiguration(std::uint8_t configurationNumber,
                                                       const ReaderConfiguration& configuration)
{
    return Guarded("SetConfiguration",
                   [&]
                   {
                       Send<SetActiveConfigurationVisitor>(configurationNumber);
                       Send<SetConfigurationBlock1Visitor>(configuration.Block1);
                       Send<SetConfigurationBlock2Visitor>(configuration.Block2);
                       Send<SetConfigurationBlock3Visitor>(configuration.Block3);
                       Send<SetConfigurationBlock4Visitor>(configuration.Block4);
                       Send<SetConfigurationBlock5Visitor>(configuration.Block5);
                   });
}

ProtocolCommandResult ProtocolFacade::SetConfigurationBlock1(std::uint8_t configurationNumber,
                                                             const ReaderConfigurationBlock1& block)
{
    return Guarded("SetConfigurationBlock1",
                   [&]
                   {
                       Send<SetActiveConfigurationVisitor>(configurationNumber);
                       Send<SetConfigurationBlock1Visitor>(block);
                   });
}

ProtocolCommandResult ProtocolFacade::SetConfigurationBlock3(std::uint8_t configurationNumber,
                                                             const ReaderConfigurationBlock3& block)
{
    return Guarded("SetConfigurationBlock3",
                   [&]
                   {
                       Send<SetActiveConfigurationVisitor>(configurationNumber);
                       Send<SetConfigurationBlock3Visitor>(block);
                   });
}

ProtocolCommandResult
ProtocolFacade::SetExtendedConfiguration(const PyxCommon::ExtendedConfiguration& configuration,
                                         const PyxCommon::HashData& hash)
{
    return Guarded("SetExtendedConfiguration",
                   [&] { Send<SetExtendedConfigurationVisitor>(configuration, hash); });
}

ProtocolCommandResult ProtocolFacade::SetLuid(std::uint16_t luid)
{
    return Guarded("SetLuid", [&] { Send<SetLuidVisitor>(luid); });
}

ProtocolCommandResult ProtocolFacade::WriteConfiguration(std::uint8_t writeLuidToFlash)
{
    return Guarded("WriteConfiguration", [&] { Send<WriteConfigurationVisitor>(writeLuidToFlash); });
}
} // namespace PyxProtocol
