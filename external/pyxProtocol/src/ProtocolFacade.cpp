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
    std::mutex mutex;
    std::unordered_map<ProtocolFacade::Handle, std::shared_ptr<ProtocolFacade>> facades;
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
    std::lock_guard<std::mutex> lock(instances.mutex);
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
        instances.facades.emplace(handle, std::move(facade));
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
    std::lock_guard<std::mutex> lock(instances.mutex);
    const auto found = instances.facades.find(handle);
    return found != instances.facades.end() ? found->second : nullptr;
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
        std::lock_guard<std::mutex> lock(instances.mutex);
        const auto found = instances.facades.find(handle);
        // Flagged before it leaves the registry: whoever finds the handle gone also finds the facade closing,
        // so an operation that got the facade earlier and has not started yet is turned away.
        if (found == instances.facades.end() || found->second->_isBeingDestroyed.exchange(true))
        {
            return;
        }
        facade = std::move(found->second);
        instances.facades.erase(found);
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

ProtocolCommandResult ProtocolFacade::Beep(std::uint8_t count, BEEP_DURATION duration)
{
    return Guarded("Beep",
                   [&]
                   {
                       BeepVisitor visitor(count, duration);
                       _protocol->Accept(visitor, *_transport);
                   });
}

ProtocolCommandResult ProtocolFacade::ConfigureModuleState(ReaderModuleAction action, ReaderModuleId module,
                                                           ReaderModuleState& state)
{
    return Guarded("ConfigureModuleState",
                   [&]
                   {
                       ConfigureModuleStateVisitor visitor(action, module, state);
                       _protocol->Accept(visitor, *_transport);
                       state = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::CopyConfiguration(ConfigurationLocation source,
                                                        ConfigurationLocation destination,
                                                        std::uint8_t value1, std::uint8_t value2)
{
    return Guarded("CopyConfiguration",
                   [&]
                   {
                       CopyConfigurationVisitor visitor(source, destination, value1, value2, OptionalDelay());
                       _protocol->Accept(visitor, *_transport);
                   });
}

ProtocolCommandResult ProtocolFacade::EnableTransparentMode(bool enable)
{
    return Guarded("EnableTransparentMode",
                   [&]
                   {
                       EnableTransparentModeVisitor visitor(enable);
                       _protocol->Accept(visitor, *_transport);
                   });
}

ProtocolCommandResult ProtocolFacade::GetActiveConfiguration(ActiveConfigurationInformation& information)
{
    const std::unique_lock<std::mutex> lock = Enter("GetActiveConfiguration");
    // The only operation whose output is assigned by the capture itself, and only on success.
    return RunCheckedFacadeFunction(
        [this]
        {
            GetActiveConfigurationVisitor visitor;
            _protocol->Accept(visitor, *_transport);
            return visitor.GetResult();
        },
        information);
}

ProtocolCommandResult ProtocolFacade::GetBeeperVolume(BeepVolume& volume)
{
    return Guarded("GetBeeperVolume",
                   [&]
                   {
                       GetBeeperVolumeVisitor visitor;
                       _protocol->Accept(visitor, *_transport);
                       volume = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetBleBlob(PyxCommon::BleDataType dataType,
                                                 std::vector<std::uint8_t>& data)
{
    return Guarded("GetBleBlob",
                   [&]
                   {
                       GetBleBlobVisitor visitor(dataType, OptionalDelay());
                       _protocol->Accept(visitor, *_transport);
                       data = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetBlob(const PyxCommon::BlobHeader& header,
                                              std::vector<std::uint8_t>& data)
{
    return Guarded("GetBlob",
                   [&]
                   {
                       GetBlobVisitor visitor(header);
                       _protocol->Accept(visitor, *_transport);
                       data = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetBluetoothFirmwareVersion(BluetoothFirmwareVersion& version,
                                                                  FirmwareVersionModuleType moduleType)
{
    return Guarded("GetBluetoothFirmwareVersion",
                   [&]
                   {
                       GetBluetoothFirmwareVersionVisitor visitor(moduleType);
                       _protocol->Accept(visitor, *_transport);
                       version = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetCardAnalyzerStatus(CardAnalyzerStatus& status)
{
    return Guarded("GetCardAnalyzerStatus",
                   [&]
                   {
                       GetCardAnalyzerStatusVisitor visitor;
                       _protocol->Accept(visitor, *_transport);
                       status = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetCardReadPayload(GetCardDataSizeParameters size,
                                                         CardReadPayload& payload)
{
    return Guarded("GetCardReadPayload",
                   [&]
                   {
                       GetCardReadPayloadVisitor visitor(size);
                       _protocol->Accept(visitor, *_transport);
                       payload = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetConfiguration(std::uint8_t configurationNumber,
                                                       ReaderConfiguration& configuration)
{
    return Guarded("GetConfiguration",
                   [&]
                   {
                       SetActiveConfigurationVisitor select(configurationNumber);
                       _protocol->Accept(select, *_transport);
                       GetConfigurationBlock1Visitor block1;
                       _protocol->Accept(block1, *_transport);
                       GetConfigurationBlock2Visitor block2;
                       _protocol->Accept(block2, *_transport);
                       GetConfigurationBlock3Visitor block3;
                       _protocol->Accept(block3, *_transport);
                       GetConfigurationBlock4Visitor block4;
                       _protocol->Accept(block4, *_transport);
                       GetConfigurationBlock5Visitor block5;
                       _protocol->Accept(block5, *_transport);
                       // Only a whole configuration reaches the caller.
                       configuration.Block1 = block1.GetResult();
                       configuration.Block2 = block2.GetResult();
                       configuration.Block3 = block3.GetResult();
                       configuration.Block4 = block4.GetResult();
                       configuration.Block5 = block5.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetConfigurationBlock1(ReaderConfigurationBlock1& block)
{
    return Guarded("GetConfigurationBlock1",
                   [&]
                   {
                       GetConfigurationBlock1Visitor visitor;
                       _protocol->Accept(visitor, *_transport);
                       block = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetConfigurationBlock2(ReaderConfigurationBlock2& block)
{
    return Guarded("GetConfigurationBlock2",
                   [&]
                   {
                       GetConfigurationBlock2Visitor visitor;
                       _protocol->Accept(visitor, *_transport);
                       block = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetConfigurationBlock3(ReaderConfigurationBlock3& block)
{
    return Guarded("GetConfigurationBlock3",
                   [&]
                   {
                       GetConfigurationBlock3Visitor visitor;
                       _protocol->Accept(visitor, *_transport);
                       block = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetControlFirmwareVersion(MicrocontrollerFirmwareVersion& version,
                                                                FirmwareVersionModuleType moduleType)
{
    return Guarded("GetControlFirmwareVersion",
                   [&]
                   {
                       GetControlFirmwareVersionVisitor visitor(moduleType);
                       _protocol->Accept(visitor, *_transport);
                       version = visitor.GetResult();
                   });
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
    return Guarded("GetESN",
                   [&]
                   {
                       GetESNVisitor visitor;
                       _protocol->Accept(visitor, *_transport);
                       CopyOut(visitor.GetResult(), buffer, size, kLineEsnBufferTooSmall);
                   });
}

ProtocolCommandResult
ProtocolFacade::GetExtendedConfiguration(PyxCommon::ExtendedConfiguration& configuration)
{
    return Guarded("GetExtendedConfiguration",
                   [&]
                   {
                       GetExtendedConfigurationVisitor visitor;
                       _protocol->Accept(visitor, *_transport);
                       configuration = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetFelicaSamFirmwareVersion(FelicaSamFirmwareVersion& version)
{
    return Guarded("GetFelicaSamFirmwareVersion",
                   [&]
                   {
                       GetSamFirmwareVersionVisitor visitor(FirmwareVersionModuleType::SamFelica);
                       _protocol->Accept(visitor, *_transport);
                       version = visitor.GetFelicaSamFirmwareVersion();
                   });
}

ProtocolCommandResult ProtocolFacade::GetHidSeSamFirmwareVersion(HidSeSamFirmwareVersion& version)
{
    // The log name keeps the historic spelling that log readers search for.
    return Guarded("GetHideSeSamFirmwareVersion",
                   [&]
                   {
                       GetSamFirmwareVersionVisitor visitor(FirmwareVersionModuleType::SamHidSe);
                       _protocol->Accept(visitor, *_transport);
                       version = visitor.GetHidSeSamFirmwareVersion();
                   });
}

ProtocolCommandResult ProtocolFacade::GetInstalledHardware(::InstalledHardwareInformation& information)
{
    return Guarded("GetInstalledHardware",
                   [&]
                   {
                       GetInstalledHardwareVisitor visitor;
                       _protocol->Accept(visitor, *_transport);
                       information = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetLuid(LuidResponseInformation& information)
{
    return Guarded("GetLuid",
                   [&]
                   {
                       GetLuidVisitor visitor;
                       _protocol->Accept(visitor, *_transport);
                       information = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetNxpAvxSamFirmwareVersion(NxpSamFirmwareVersion& version)
{
    return Guarded("GetNxpAvxSamFirmwareVersion",
                   [&]
                   {
                       GetSamFirmwareVersionVisitor visitor(FirmwareVersionModuleType::SamNxpAvx);
                       _protocol->Accept(visitor, *_transport);
                       version = visitor.GetNxpSamFirmwareVersion();
                   });
}

ProtocolCommandResult ProtocolFacade::GetPartNumber(char* buffer, std::size_t size)
{
    return Guarded("GetPartNumber",
                   [&]
                   {
                       GetPartNumberVisitor visitor;
                       _protocol->Accept(visitor, *_transport);
                       CopyOut(visitor.GetResult(), buffer, size, kLinePartNumberBufferTooSmall);
                   });
}

ProtocolCommandResult ProtocolFacade::GetQueuedId(const QueuedIdFlagParameters& flags,
                                                  QueuedIdInformation& information)
{
    return Guarded("GetQueuedId",
                   [&]
                   {
                       GetQueuedIdVisitor visitor(flags);
                       _protocol->Accept(visitor, *_transport);
                       information = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetRadioFirmwareVersion(MicrocontrollerFirmwareVersion& version,
                                                              FirmwareVersionModuleType moduleType)
{
    return Guarded("GetRadioFirmwareVersion",
                   [&]
                   {
                       GetRadioFirmwareVersionVisitor visitor(moduleType);
                       _protocol->Accept(visitor, *_transport);
                       version = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetString(char* buffer, std::size_t size, GetStringIndex index)
{
    return Guarded("GetString",
                   [&]
                   {
                       GetStringVisitor visitor(index);
                       _protocol->Accept(visitor, *_transport);
                       CopyOut(visitor.GetResult(), buffer, size, kLineStringBufferTooSmall);
                   });
}

ProtocolCommandResult ProtocolFacade::GetSupportedCards(std::vector<std::uint16_t>& cards)
{
    return Guarded("GetSupportedCards",
                   [&]
                   {
                       GetSupportedCardsVisitor visitor;
                       _protocol->Accept(visitor, *_transport);
                       cards = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::GetTransparentModeStatus(TransparentModeStatusInformation& status)
{
    return Guarded("GetTransparentModeStatus",
                   [&]
                   {
                       GetTransparentModeStatusVisitor visitor;
                       _protocol->Accept(visitor, *_transport);
                       status = visitor.GetResult();
                   });
}

ProtocolCommandResult ProtocolFacade::LoadStoredDefaults()
{
    return Guarded("LoadStoredDefaults",
                   [&]
                   {
                       LoadStoredDefaultsVisitor visitor(MakeDelay());
                       _protocol->Accept(visitor, *_transport);
                   });
}

ProtocolCommandResult ProtocolFacade::SetActiveConfiguration(std::uint8_t configurationNumber)
{
    return Guarded("SetActiveConfiguration",
                   [&]
                   {
                       SetActiveConfigurationVisitor visitor(configurationNumber);
                       _protocol->Accept(visitor, *_transport);
                   });
}

ProtocolCommandResult ProtocolFacade::SetBeeperVolume(BeepVolume volume)
{
    return Guarded("SetBeeperVolume",
                   [&]
                   {
                       SetBeeperVolumeVisitor visitor(volume);
                       _protocol->Accept(visitor, *_transport);
                   });
}

ProtocolCommandResult ProtocolFacade::SetBleBlob(PyxCommon::BleDataType dataType,
                                                 const std::vector<std::uint8_t>& data)
{
    return Guarded("SetBleBlob",
                   [&]
                   {
                       SetBleBlobVisitor visitor(dataType, data, OptionalDelay());
                       _protocol->Accept(visitor, *_transport);
                   });
}

ProtocolCommandResult ProtocolFacade::SetBlob(const PyxCommon::BlobHeader& header,
                                              const std::vector<std::uint8_t>& data)
{
    return Guarded("SetBlob",
                   [&]
                   {
                       SetBlobVisitor visitor(header, data, OptionalDelay());
                       _protocol->Accept(visitor, *_transport);
                   });
}

ProtocolCommandResult ProtocolFacade::SetConfiguration(std::uint8_t configurationNumber,
                                                       const ReaderConfiguration& configuration)
{
    return Guarded("SetConfiguration",
                   [&]
                   {
                       SetActiveConfigurationVisitor select(configurationNumber);
                       _protocol->Accept(select, *_transport);
                       SetConfigurationBlock1Visitor block1(configuration.Block1);
                       _protocol->Accept(block1, *_transport);
                       SetConfigurationBlock2Visitor block2(configuration.Block2);
                       _protocol->Accept(block2, *_transport);
                       SetConfigurationBlock3Visitor block3(configuration.Block3);
                       _protocol->Accept(block3, *_transport);
                       SetConfigurationBlock4Visitor block4(configuration.Block4);
                       _protocol->Accept(block4, *_transport);
                       SetConfigurationBlock5Visitor block5(configuration.Block5);
                       _protocol->Accept(block5, *_transport);
                   });
}

ProtocolCommandResult ProtocolFacade::SetConfigurationBlock1(std::uint8_t configurationNumber,
                                                             const ReaderConfigurationBlock1& block)
{
    return Guarded("SetConfigurationBlock1",
                   [&]
                   {
                       SetActiveConfigurationVisitor select(configurationNumber);
                       _protocol->Accept(select, *_transport);
                       SetConfigurationBlock1Visitor visitor(block);
                       _protocol->Accept(visitor, *_transport);
                   });
}

ProtocolCommandResult ProtocolFacade::SetConfigurationBlock3(std::uint8_t configurationNumber,
                                                             const ReaderConfigurationBlock3& block)
{
    return Guarded("SetConfigurationBlock3",
                   [&]
                   {
                       SetActiveConfigurationVisitor select(configurationNumber);
                       _protocol->Accept(select, *_transport);
                       SetConfigurationBlock3Visitor visitor(block);
                       _protocol->Accept(visitor, *_transport);
                   });
}

ProtocolCommandResult
ProtocolFacade::SetExtendedConfiguration(const PyxCommon::ExtendedConfiguration& configuration,
                                         const PyxCommon::HashData& hash)
{
    return Guarded("SetExtendedConfiguration",
                   [&]
                   {
                       SetExtendedConfigurationVisitor visitor(configuration, hash);
                       _protocol->Accept(visitor, *_transport);
                   });
}

ProtocolCommandResult ProtocolFacade::SetLuid(std::uint16_t luid)
{
    return Guarded("SetLuid",
                   [&]
                   {
                       SetLuidVisitor visitor(luid);
                       _protocol->Accept(visitor, *_transport);
                   });
}

ProtocolCommandResult ProtocolFacade::WriteConfiguration(std::uint8_t writeLuidToFlash)
{
    return Guarded("WriteConfiguration",
                   [&]
                   {
                       WriteConfigurationVisitor visitor(writeLuidToFlash);
                       _protocol->Accept(visitor, *_transport);
                   });
}
} // namespace PyxProtocol
