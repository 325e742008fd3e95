// The flat C interface: each function refuses null pointers before any work, then runs one operation of the
// class interface inside the frame of Utilities/ExecutionHelpers.h, which turns every failure into the
// caller's PyxResult. Nothing here throws across the C boundary.

#include "Reader/Reader_C.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <fmt/format.h>

#include "CardTypes/CardType.h"
#include "ProtocolFacadeExports.h"
#include "Reader/AbstractReader.h"
#include "Reader/LibraryInfoBuilder.h"
#include "Reader/Reader.h"
#include "Reader/ReaderConfigurationConversion.h"
#include "Reader/ReaderException.h"
#include "Utilities/ExecutionHelpers.h"

using Pyx::CInterface::ExecuteCppMethod;
using Pyx::CInterface::ExecuteCppMethodWithReturn;
using Pyx::CInterface::ReportIfNull;
using Pyx::CInterface::ReportRefusedArgument;

static_assert(std::string_view(PYX_SOURCE_FILE) == Pyx::CInterface::kSourceFileName,
              "the frame names this file as the C interface's source");

// The C images and the library's own records are the same bytes.
static_assert(sizeof(PyxReaderConfiguration) == sizeof(PyxCommon::ReaderConfiguration));
static_assert(sizeof(PyxExtendedConfiguration) == sizeof(PyxCommon::ExtendedConfiguration));
static_assert(offsetof(PyxExtendedConfiguration, FieldEntries) ==
              offsetof(PyxCommon::ExtendedConfiguration, FieldEntries));
static_assert(offsetof(PyxExtendedConfiguration, SeparatorEntries) ==
              offsetof(PyxCommon::ExtendedConfiguration, SeparatorEntries));
static_assert(offsetof(PyxExtendedConfiguration, ApplicationData) ==
              offsetof(PyxCommon::ExtendedConfiguration, ApplicationData));
static_assert(sizeof(PyxHashData) == sizeof(PyxCommon::HashData));
static_assert(offsetof(PyxHashData, HashValue2) == offsetof(PyxCommon::HashData, HashValue2));
static_assert(offsetof(PyxHashData, EnhanceSecurityFirmwareState) ==
              offsetof(PyxCommon::HashData, EnhanceSecurityFirmwareState));
static_assert(sizeof(PyxSmartCardConfiguration) == sizeof(PyxCommon::SmartCardConfiguration));
static_assert(sizeof(PyxBlobHeader) == sizeof(PyxCommon::BlobHeader));
static_assert(sizeof(PyxReaderDefinition) == sizeof(PyxCommon::ReaderDefinition));
static_assert(offsetof(PyxReaderDefinition, ProtocolType) ==
              offsetof(PyxCommon::ReaderDefinition, ProtocolType));
static_assert(offsetof(PyxReaderDefinition, SerialPortSettings) ==
              offsetof(PyxCommon::ReaderDefinition, SerialPortSettings));
static_assert(offsetof(PyxSerialPortSettings, PortName) == offsetof(PyxCommon::SerialPortSettings, PortName));
static_assert(offsetof(PyxSerialPortSettings, StopBits) == offsetof(PyxCommon::SerialPortSettings, StopBits));
static_assert(sizeof(PyxReaderMetadata) == sizeof(ReaderMetadataStruct));
static_assert(offsetof(PyxReaderMetadata, ConfigurationCount) ==
              offsetof(ReaderMetadataStruct, ConfigurationCount));
static_assert(offsetof(PyxReaderMetadata, InstalledHardware) ==
              offsetof(ReaderMetadataStruct, InstalledHardware));
static_assert(offsetof(PyxReaderMetadata, ReaderString4) == offsetof(ReaderMetadataStruct, ReaderString4));
static_assert(offsetof(PyxReaderMetadata, ProtocolType) == offsetof(ReaderMetadataStruct, ProtocolType));
static_assert(offsetof(PyxReaderMetadata, Dravik) == offsetof(ReaderMetadataStruct, Dravik));
static_assert(sizeof(PyxLedConfiguration) == sizeof(Pyx::LedConfiguration));
static_assert(sizeof(PyxLuidResponseInformation) == sizeof(PyxProtocol::LuidResponseInformation));
static_assert(offsetof(PyxLuidResponseInformation, Field32) ==
              offsetof(PyxProtocol::LuidResponseInformation, Field32));

namespace
{
// The line each pointer check records, by exported function and argument.
struct ArgumentCheck
{
    std::string_view function;
    std::string_view argument;
    int line;
};

constexpr ArgumentCheck kArgumentChecks[] = {
    {"Pyx_Close", "handle", 180},
    {"Pyx_Init", "handle", 196},
    {"Pyx_RefreshMetadata", "handle", 213},
    {"Pyx_GetMetadataStruct", "handle", 237},
    {"Pyx_GetMetadataStruct", "outStruct", 243},
    {"PyxReader_Beep", "handle", 271},
    {"PyxReader_GetCardData", "handle", 293},
    {"PyxReader_GetCardData", "cardDataOut", 299},
    {"PyxReader_GetBeeperVolume", "handle", 338},
    {"PyxReader_SetBeeperVolume", "handle", 358},
    {"PyxReader_WriteSmartCardConfigurationToReader", "handle", 377},
    {"PyxReader_WriteSmartCardConfigurationToReader", "fileName", 383},
    {"PyxReader_ReadSmartCardConfigurationFromReader", "handle", 401},
    {"PyxReader_GetReaderConfiguration", "handle", 426},
    {"PyxReader_SetReaderConfiguration", "handle", 449},
    {"PyxReader_GetModuleState", "handle", 539},
    {"PyxReader_SetModuleState", "handle", 561},
    {"PyxReader_GetLedConfiguration", "handle", 582},
    {"PyxReader_SetLedConfiguration", "handle", 601},
    {"PyxReader_EnableKeystroking", "handle", 619},
    {"PyxReader_GetLuid", "handle", 637},
    {"PyxReader_SetLuid", "handle", 655},
    {"PyxReader_WriteUserDefaultsToReader", "handle", 672},
    {"PyxReader_ResetReaderConfiguration", "handle", 690},
    {"PyxReader_GetSupportedCardTypes", "handle", 709},
    {"PyxReader_GetSupportedCardTypes", "outResult", 715},
    {"PyxReader_ReadBleConfigurationFromReader", "handle", 751},
    {"PyxReader_ReadBleConfigurationFromReader", "fileName", 757},
    {"PyxReader_WriteBleConfigurationToReader", "handle", 784},
    {"PyxReader_WriteBleConfigurationToReader", "fileName", 790},
    {"PyxReader_WriteHwgFileToReader", "handle", 816},
    {"PyxReader_WriteHwgFileToReader", "fileName", 822},
    {"PyxReader_ReadHwgFileFromReader", "handle", 840},
    {"PyxReader_ReadHwgFileFromReader", "fileName", 846},
    {"PyxReader_OnCredentialPresented", "handle", 864},
    {"PyxReader_OnCredentialPresented", "callback", 870},
    {"PyxReader_UnsubscribeCredentialCallback", "handle", 901},
    {"PyxReader_EnableTransparentMode", "handle", 920},
    {"PyxReader_GetTransparentModeStatus", "handle", 939},
    {"Pyx_DiscoverUsbReaders", "readerCount pointer", 970},
};

// Every function's checks sit on lines of their own.
consteval bool LinesAreDistinct()
{
    for (const ArgumentCheck& a : kArgumentChecks)
    {
        for (const ArgumentCheck& b : kArgumentChecks)
        {
            if (&a != &b && a.line == b.line)
            {
                return false;
            }
        }
    }
    return true;
}
static_assert(LinesAreDistinct());

// A check missing from the table does not compile.
consteval int CheckLine(std::string_view function, std::string_view argument)
{
    for (const ArgumentCheck& check : kArgumentChecks)
    {
        if (check.function == function && check.argument == argument)
        {
            return check.line;
        }
    }
    throw "no line recorded for this argument check";
}

// Lines of the checks of argument values and of outcomes the functions record themselves.
constexpr int kLineCardBufferTooSmall = 315;
constexpr int kLineReadBleDataType = 763;
constexpr int kLineWriteBleDataType = 796;
constexpr int kLineDiscoveryFailed = 984;

// The registered reader behind `handle`, kept alive for the call. A handle that is not (or no longer)
// registered is refused here instead of being followed.
std::shared_ptr<Pyx::AbstractReader> AcquireAbstractReader(Reader_Handle* handle, const char* function)
{
    std::shared_ptr<Pyx::AbstractReader> reader = Pyx::AbstractReader::AcquireInstance(handle);
    if (reader == nullptr)
    {
        throw Pyx::ReaderException("Reader handle is not open (never opened, or already closed)",
                                   PYX_SOURCE_FILE, __LINE__, function);
    }
    return reader;
}

std::shared_ptr<Pyx::Reader> AcquireReader(Reader_Handle* handle, const char* function)
{
    std::shared_ptr<Pyx::Reader> reader =
        std::dynamic_pointer_cast<Pyx::Reader>(AcquireAbstractReader(handle, function));
    if (reader == nullptr)
    {
        throw Pyx::ReaderException("Reader handle does not belong to a Pyx::Reader", PYX_SOURCE_FILE,
                                   __LINE__, function);
    }
    return reader;
}
} // namespace

// Each definition keeps the C linkage of its declaration in Reader/Reader_C.h.

Reader_Handle* PyxReader_Open(PyxResult* result, const PyxReaderDefinition* definition, int retryCount)
{
    constexpr const char* kFunction = "PyxReader_Open";
    if (result == nullptr || ReportIfNull(*result, definition, "definition", __LINE__, kFunction))
    {
        return nullptr;
    }
    return ExecuteCppMethodWithReturn<Reader_Handle*>(
        result, "Open",
        [&]
        {
            const auto readerDefinition = std::bit_cast<PyxCommon::ReaderDefinition>(*definition);
            return static_cast<Reader_Handle*>(
                Pyx::AbstractReader::CreateReaderInstance(readerDefinition, retryCount));
        },
        nullptr);
}

void Pyx_Init(PyxResult* result, Reader_Handle* handle)
{
    constexpr const char* kFunction = "Pyx_Init";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "Init", [&] { AcquireAbstractReader(handle, kFunction)->Init(); });
}

void Pyx_Close(PyxResult* result, Reader_Handle* handle)
{
    constexpr const char* kFunction = "Pyx_Close";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction))
    {
        return;
    }
    // An unknown or already closed handle is nothing to close: that is a success.
    ExecuteCppMethod(result, "Close", [&] { Pyx::AbstractReader::DestroyInstance(handle); });
}

void Pyx_DiscoverUsbReaders(PyxResult* result, PyxReaderDefinition* readers, size_t* readerCount)
{
    constexpr const char* kFunction = "Pyx_DiscoverUsbReaders";
    if (result == nullptr || ReportIfNull(*result, readerCount, "readerCount pointer",
                                          CheckLine(kFunction, "readerCount pointer"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(
        result, kFunction,
        [&]
        {
            // The two records are the same bytes (asserted above); the counting call passes
            // no array.
            const ProtocolCommandResult discovery =
                DiscoverUsbReaders(reinterpret_cast<PyxCommon::ReaderDefinition*>(readers), readerCount);
            if (discovery.HasException)
            {
                throw Pyx::ReaderException(fmt::format("Failed to discover USB readers: {}",
                                                       PyxCommon::FieldText(discovery.Message)),
                                           discovery, PYX_SOURCE_FILE, kLineDiscoveryFailed, "operator ()");
            }
        });
}

void Pyx_GetMetadataStruct(PyxResult* result, Reader_Handle* handle, PyxReaderMetadata* outStruct,
                           bool refresh)
{
    constexpr const char* kFunction = "Pyx_GetMetadataStruct";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, outStruct, "outStruct", CheckLine(kFunction, "outStruct"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "GetMetadataStruct",
                     [&]
                     {
                         const ReaderMetadataStruct metadata =
                             AcquireAbstractReader(handle, kFunction)->GetMetadataStruct(refresh);
                         std::memcpy(outStruct, &metadata, sizeof metadata);
                     });
}

void Pyx_RefreshMetadata(PyxResult* result, Reader_Handle* handle)
{
    constexpr const char* kFunction = "Pyx_RefreshMetadata";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "RefreshMetadata",
                     [&] { AcquireAbstractReader(handle, kFunction)->RefreshMetadata(); });
}

PyxLibraryInfo Pyx_BuildLibraryInfo(void)
{
    return Pyx::BuildLibraryInfo();
}

void PyxReader_Beep(PyxResult* result, Reader_Handle* handle, uint8_t count, uint8_t duration)
{
    constexpr const char* kFunction = "PyxReader_Beep";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(
        result, "Beep",
        [&] {
            AcquireReader(handle, kFunction)->Beep(count, static_cast<PyxProtocol::BEEP_DURATION>(duration));
        });
}

void PyxReader_GetBeeperVolume(PyxResult* result, Reader_Handle* handle, uint8_t* volume)
{
    constexpr const char* kFunction = "PyxReader_GetBeeperVolume";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, volume, "volume", __LINE__, kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "GetBeeperVolume",
                     [&]
                     {
                         PyxProtocol::BeepVolume level{};
                         AcquireReader(handle, kFunction)->GetBeeperVolume(level);
                         *volume = static_cast<uint8_t>(level);
                     });
}

void PyxReader_SetBeeperVolume(PyxResult* result, Reader_Handle* handle, uint8_t volume)
{
    constexpr const char* kFunction = "PyxReader_SetBeeperVolume";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(
        result, "SetBeeperVolume",
        [&]
        { AcquireReader(handle, kFunction)->SetBeeperVolume(static_cast<PyxProtocol::BeepVolume>(volume)); });
}

void PyxReader_GetCardData(PyxResult* result, Reader_Handle* handle, unsigned char* cardDataOut,
                           size_t bufferSize, unsigned int* bitCount, uint8_t sizeParameters)
{
    constexpr const char* kFunction = "PyxReader_GetCardData";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, cardDataOut, "cardDataOut", CheckLine(kFunction, "cardDataOut"), kFunction) ||
        ReportIfNull(*result, bitCount, "bitCount", __LINE__, kFunction))
    {
        return;
    }
    ExecuteCppMethod(
        result, "GetCardData",
        [&]
        {
            Pyx::CardData card;
            AcquireReader(handle, kFunction)
                ->GetCardData(card, static_cast<PyxProtocol::GetCardDataSizeParameters>(sizeParameters));
            const std::size_t size = card.Size();
            if (bufferSize < size)
            {
                ReportRefusedArgument(
                    *result,
                    fmt::format("cardDataOut buffer too small. Required size: {}, provided size: {}.", size,
                                bufferSize),
                    kLineCardBufferTooSmall, kFunction);
                return;
            }
            std::memset(cardDataOut, 0, bufferSize);
            std::memcpy(cardDataOut, card.AsByteArray(), size);
            *bitCount = card.GetBitCount();
        });
}

uint32_t PyxReader_OnCredentialPresented(PyxResult* result, Reader_Handle* handle,
                                         PyxCredentialCallback callback, uint8_t sizeParameters)
{
    constexpr const char* kFunction = "PyxReader_OnCredentialPresented";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, reinterpret_cast<const void*>(callback), "callback",
                     CheckLine(kFunction, "callback"), kFunction))
    {
        return 0;
    }
    return ExecuteCppMethodWithReturn<uint32_t>(
        result, "OnCredentialPresented",
        [&]
        {
            // Runs on the reader's dispatch thread; the bytes are the card's own, valid for the call.
            auto forward = [callback](Pyx::CardData& card)
            { callback(reinterpret_cast<const unsigned char*>(card.AsByteArray()), card.GetBitCount()); };
            return static_cast<uint32_t>(
                AcquireReader(handle, kFunction)
                    ->OnCredentialPresented(
                        forward, static_cast<PyxProtocol::GetCardDataSizeParameters>(sizeParameters)));
        },
        0u);
}

void PyxReader_UnsubscribeCredentialCallback(PyxResult* result, Reader_Handle* handle,
                                             uint32_t subscriptionId)
{
    constexpr const char* kFunction = "PyxReader_UnsubscribeCredentialCallback";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "UnsubscribeCredentialCallback",
                     [&]
                     { AcquireReader(handle, kFunction)->UnsubscribeCredentialCallback(subscriptionId); });
}

void PyxReader_GetSupportedCardTypes(PyxResult* result, Reader_Handle* handle,
                                     SupportedCardTypesResult* outResult)
{
    constexpr const char* kFunction = "PyxReader_GetSupportedCardTypes";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, outResult, "outResult", CheckLine(kFunction, "outResult"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "GetSupportedCardTypes",
                     [&]
                     {
                         std::memset(outResult, 0, sizeof *outResult);
                         std::vector<PyxCommon::CardType> cardTypes;
                         AcquireReader(handle, kFunction)->GetSupportedCardTypes(cardTypes);
                         constexpr std::size_t kCapacity =
                             sizeof outResult->CardTypes / sizeof outResult->CardTypes[0];
                         // Types beyond the record's capacity are dropped.
                         const std::size_t count = std::min(cardTypes.size(), kCapacity);
                         for (std::size_t i = 0; i < count; ++i)
                         {
                             cardTypes[i].ToCardTypeInfo(outResult->CardTypes[i]);
                         }
                         outResult->Count = static_cast<uint32_t>(count);
                     });
}

void PyxReader_GetLuid(PyxResult* result, Reader_Handle* handle, PyxLuidResponseInformation* luid)
{
    constexpr const char* kFunction = "PyxReader_GetLuid";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, luid, "luid", __LINE__, kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "GetLuid",
                     [&]
                     {
                         PyxProtocol::LuidResponseInformation information{};
                         AcquireReader(handle, kFunction)->GetLuid(information);
                         std::memcpy(luid, &information, sizeof information);
                     });
}

void PyxReader_SetLuid(PyxResult* result, Reader_Handle* handle, uint16_t luid)
{
    constexpr const char* kFunction = "PyxReader_SetLuid";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "SetLuid", [&] { AcquireReader(handle, kFunction)->SetLuid(luid); });
}

void PyxReader_GetModuleState(PyxResult* result, Reader_Handle* handle, uint8_t moduleId, uint8_t* state)
{
    constexpr const char* kFunction = "PyxReader_GetModuleState";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, state, "state", __LINE__, kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "GetModuleState",
                     [&]
                     {
                         PyxProtocol::ReaderModuleState moduleState{};
                         AcquireReader(handle, kFunction)
                             ->GetModuleState(static_cast<PyxProtocol::ReaderModuleId>(moduleId),
                                              moduleState);
                         *state = static_cast<uint8_t>(moduleState);
                     });
}

void PyxReader_SetModuleState(PyxResult* result, Reader_Handle* handle, uint8_t moduleId, uint32_t state)
{
    constexpr const char* kFunction = "PyxReader_SetModuleState";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "SetModuleState",
                     [&]
                     {
                         // Only the low byte is a module state.
                         AcquireReader(handle, kFunction)
                             ->SetModuleState(static_cast<PyxProtocol::ReaderModuleId>(moduleId),
                                              static_cast<PyxProtocol::ReaderModuleState>(state & 0xFFu));
                     });
}

void PyxReader_EnableTransparentMode(PyxResult* result, Reader_Handle* handle, bool enable, bool persist)
{
    constexpr const char* kFunction = "PyxReader_EnableTransparentMode";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "EnableTransparentMode",
                     [&] { AcquireReader(handle, kFunction)->EnableTransparentMode(enable, persist); });
}

void PyxReader_GetTransparentModeStatus(PyxResult* result, Reader_Handle* handle, uint8_t* state,
                                        uint8_t* status)
{
    constexpr const char* kFunction = "PyxReader_GetTransparentModeStatus";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, state, "state", __LINE__, kFunction) ||
        ReportIfNull(*result, status, "status", __LINE__, kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "GetTransparentModeStatus",
                     [&]
                     {
                         PyxProtocol::TransparentModeState modeState{};
                         PyxProtocol::TransparentModeStatus modeStatus{};
                         AcquireReader(handle, kFunction)->GetTransparentModeStatus(modeState, modeStatus);
                         *state = static_cast<uint8_t>(modeState);
                         *status = static_cast<uint8_t>(modeStatus);
                     });
}

void PyxReader_EnableKeystroking(PyxResult* result, Reader_Handle* handle, bool enable)
{
    constexpr const char* kFunction = "PyxReader_EnableKeystroking";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "EnableKeystroking",
                     [&] { AcquireReader(handle, kFunction)->EnableKeystroking(enable); });
}

void PyxReader_GetLedConfiguration(PyxResult* result, Reader_Handle* handle, uint8_t configuration,
                                   PyxLedConfiguration* ledConfiguration)
{
    constexpr const char* kFunction = "PyxReader_GetLedConfiguration";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, ledConfiguration, "ledConfiguration", __LINE__, kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "GetLedConfiguration",
                     [&]
                     {
                         Pyx::LedConfiguration led;
                         AcquireReader(handle, kFunction)->GetLedConfiguration(configuration, led);
                         ledConfiguration->LedColor = led.LedColor;
                         ledConfiguration->SoftwareControlled = led.SoftwareControlled;
                     });
}

void PyxReader_SetLedConfiguration(PyxResult* result, Reader_Handle* handle, uint8_t configuration,
                                   const PyxLedConfiguration* ledConfiguration)
{
    constexpr const char* kFunction = "PyxReader_SetLedConfiguration";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, ledConfiguration, "ledConfiguration", __LINE__, kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "SetLedConfiguration",
                     [&]
                     {
                         Pyx::LedConfiguration led;
                         led.LedColor = ledConfiguration->LedColor;
                         // Read as a byte: a C host may hand in any non-zero value for true.
                         std::uint8_t softwareControlled = 0;
                         std::memcpy(&softwareControlled, &ledConfiguration->SoftwareControlled, 1);
                         led.SoftwareControlled = softwareControlled != 0;
                         AcquireReader(handle, kFunction)->SetLedConfiguration(configuration, led);
                     });
}

void PyxReader_GetReaderConfiguration(PyxResult* result, Reader_Handle* handle, uint8_t configuration,
                                      PyxReaderConfiguration* readerConfiguration,
                                      PyxExtendedConfiguration* extendedConfiguration)
{
    constexpr const char* kFunction = "PyxReader_GetReaderConfiguration";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, readerConfiguration, "readerConfiguration", __LINE__, kFunction) ||
        ReportIfNull(*result, extendedConfiguration, "extendedConfiguration", __LINE__, kFunction))
    {
        return;
    }
    ExecuteCppMethod(
        result, "GetReaderConfiguration",
        [&]
        {
            PyxCommon::ReaderConfiguration read;
            // Readers without extended configuration leave the caller's record as it was.
            auto extended = std::bit_cast<PyxCommon::ExtendedConfiguration>(*extendedConfiguration);
            AcquireReader(handle, kFunction)->GetReaderConfiguration(configuration, read, extended);
            std::memcpy(readerConfiguration, &read, sizeof read);
            std::memcpy(extendedConfiguration, &extended, sizeof extended);
        });
}

void PyxReader_SetReaderConfiguration(PyxResult* result, Reader_Handle* handle, uint8_t configuration,
                                      const PyxReaderConfiguration* readerConfiguration,
                                      const PyxExtendedConfiguration* extendedConfiguration,
                                      const PyxHashData* hashData)
{
    constexpr const char* kFunction = "PyxReader_SetReaderConfiguration";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, readerConfiguration, "readerConfiguration", __LINE__, kFunction) ||
        ReportIfNull(*result, extendedConfiguration, "extendedConfiguration", __LINE__, kFunction) ||
        ReportIfNull(*result, hashData, "hashData", __LINE__, kFunction))
    {
        return;
    }
    ExecuteCppMethod(
        result, "SetReaderConfiguration",
        [&]
        {
            // Every value is validated here, before anything reaches the reader.
            const PyxCommon::ReaderConfiguration record = Pyx::FromConfigurationRecord(*readerConfiguration);
            const auto extended = std::bit_cast<PyxCommon::ExtendedConfiguration>(*extendedConfiguration);
            const auto hash = std::bit_cast<PyxCommon::HashData>(*hashData);
            AcquireReader(handle, kFunction)->SetReaderConfiguration(configuration, record, extended, hash);
        });
}

void PyxReader_ResetReaderConfiguration(PyxResult* result, Reader_Handle* handle, uint8_t checkpoint)
{
    constexpr const char* kFunction = "PyxReader_ResetReaderConfiguration";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "ResetReaderConfiguration",
                     [&]
                     {
                         AcquireReader(handle, kFunction)
                             ->ResetReaderConfiguration(static_cast<Pyx::CheckpointType>(checkpoint));
                     });
}

void PyxReader_WriteUserDefaultsToReader(PyxResult* result, Reader_Handle* handle)
{
    constexpr const char* kFunction = "PyxReader_WriteUserDefaultsToReader";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "WriteUserDefaultsToReader",
                     [&] { AcquireReader(handle, kFunction)->WriteUserDefaultsToReader(); });
}

void PyxReader_ReadHwgFileFromReader(PyxResult* result, Reader_Handle* handle, const char* fileName,
                                     bool withEndMarker)
{
    constexpr const char* kFunction = "PyxReader_ReadHwgFileFromReader";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, fileName, "fileName", CheckLine(kFunction, "fileName"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "ReadHwgFileFromReader",
                     [&]
                     {
                         const std::string file(fileName);
                         AcquireReader(handle, kFunction)->ReadHwgFileFromReader(file, withEndMarker);
                     });
}

void PyxReader_WriteHwgFileToReader(PyxResult* result, Reader_Handle* handle, const char* fileName)
{
    constexpr const char* kFunction = "PyxReader_WriteHwgFileToReader";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, fileName, "fileName", CheckLine(kFunction, "fileName"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "WriteHwgFileToReader",
                     [&]
                     {
                         const std::string file(fileName);
                         AcquireReader(handle, kFunction)->WriteHwgFileToReader(file);
                     });
}

void PyxReader_ReadSmartCardConfigurationFromReader(PyxResult* result, Reader_Handle* handle,
                                                    PyxSmartCardConfiguration* configuration)
{
    constexpr const char* kFunction = "PyxReader_ReadSmartCardConfigurationFromReader";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, configuration, "configuration", __LINE__, kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "ReadSmartCardConfigurationFromReader",
                     [&]
                     {
                         // The caller's header names the blob; a header the record refuses ends the call
                         // here.
                         const auto header = std::bit_cast<PyxCommon::BlobHeader>(configuration->Header);
                         PyxCommon::SmartCardConfiguration read;
                         read.SetConfiguration(header, std::vector<std::uint8_t>(header.DataLength, 0));
                         AcquireReader(handle, kFunction)->ReadSmartCardConfigurationFromReader(read);
                         // Only a whole read reaches the caller's record.
                         std::memcpy(configuration, &read, sizeof read);
                     });
}

void PyxReader_WriteSmartCardConfigurationToReader(PyxResult* result, Reader_Handle* handle,
                                                   const char* fileName)
{
    constexpr const char* kFunction = "PyxReader_WriteSmartCardConfigurationToReader";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, fileName, "fileName", CheckLine(kFunction, "fileName"), kFunction))
    {
        return;
    }
    ExecuteCppMethod(result, "WriteSmartCardConfigurationToReader",
                     [&]
                     {
                         const std::string file(fileName);
                         AcquireReader(handle, kFunction)->WriteSmartCardConfigurationToReader(file);
                     });
}

void PyxReader_ReadBleConfigurationFromReader(PyxResult* result, Reader_Handle* handle, uint8_t dataType,
                                              const char* fileName)
{
    constexpr const char* kFunction = "PyxReader_ReadBleConfigurationFromReader";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, fileName, "fileName", CheckLine(kFunction, "fileName"), kFunction))
    {
        return;
    }
    if (dataType != PYX_BLE_DATA && dataType != PYX_BLE_KEY)
    {
        ReportRefusedArgument(*result, "Invalid dataType. Must be 1 (Data) or 2 (Key)", kLineReadBleDataType,
                              kFunction);
        return;
    }
    ExecuteCppMethod(result, "ReadBleConfigurationFromReader",
                     [&]
                     {
                         const std::string file(fileName);
                         AcquireReader(handle, kFunction)
                             ->ReadBleConfigurationFromReader(static_cast<PyxCommon::BleDataType>(dataType),
                                                              file);
                     });
}

void PyxReader_WriteBleConfigurationToReader(PyxResult* result, Reader_Handle* handle, uint8_t dataType,
                                             const char* fileName)
{
    constexpr const char* kFunction = "PyxReader_WriteBleConfigurationToReader";
    if (result == nullptr ||
        ReportIfNull(*result, handle, "handle", CheckLine(kFunction, "handle"), kFunction) ||
        ReportIfNull(*result, fileName, "fileName", CheckLine(kFunction, "fileName"), kFunction))
    {
        return;
    }
    if (dataType != PYX_BLE_DATA && dataType != PYX_BLE_KEY && dataType != PYX_BLE_UNENCRYPTED_KEY)
    {
        ReportRefusedArgument(*result, "Invalid dataType. Must be 1 (Data), 2 (Key), or 3 (UnencryptedKey)",
                              kLineWriteBleDataType, kFunction);
        return;
    }
    ExecuteCppMethod(result, "WriteBleConfigurationToReader",
                     [&]
                     {
                         const std::string file(fileName);
                         AcquireReader(handle, kFunction)
                             ->WriteBleConfigurationToReader(static_cast<PyxCommon::BleDataType>(dataType),
                                                             file);
                     });
}
