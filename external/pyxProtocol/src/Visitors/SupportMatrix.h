#pragma once

#include <cstddef>
#include <iterator>

#include "Exceptions/TessmarException.h"

// Which protocol serves which operation, and the text with which a visitor refuses an operation that its
// reader's protocol does not serve. A refusal is thrown from the visitor's Visit before anything is checked
// or sent.
namespace PyxProtocol::Visitors
{
enum class Operation
{
    Beep,
    GetActiveConfiguration,
    GetBeeperVolume,
    GetTransparentModeStatus,
    EnableTransparentMode,
    GetBluetoothFirmwareVersion,
    GetCardReadPayload,
    GetConfigurationBlock1,
    GetConfigurationBlock2,
    GetConfigurationBlock3,
    GetConfigurationBlock4,
    GetConfigurationBlock5,
    GetControlFirmwareVersion,
    GetRadioFirmwareVersion,
    GetSamFirmwareVersion,
    GetESN,
    GetPartNumber,
    GetString,
    GetInstalledHardware,
    GetLuid,
    SetLuid,
    GetQueuedId,
    GetSupportedCards,
    GetCardAnalyzerStatus,
    ConfigureModuleState,
    SetBeeperVolume,
    SetActiveConfiguration,
    WriteConfiguration,
    LoadStoredDefaults,
    CopyConfiguration,
    SetConfigurationBlock1,
    SetConfigurationBlock2,
    SetConfigurationBlock3,
    SetConfigurationBlock4,
    SetConfigurationBlock5,
    GetExtendedConfiguration,
    SetExtendedConfiguration,
    GetBlob,
    SetBlob,
    GetBleBlob,
    SetBleBlob,
};

enum class WireProtocol
{
    FeatureReport,
    Mfp24,
    SerialBinary,
};

inline constexpr const char* kServed = nullptr;
inline constexpr const char* kNotOnMfp24 = "This command is not yet supported with the MFP24 Protocol";
inline constexpr const char* kNotOnSerialBinary =
    "This command is not yet supported with the Serial Binary Protocol";

// One row per operation: the refusal text in each protocol, kServed where the protocol serves it.
struct Support
{
    Operation operation;
    const char* featureReport;
    const char* mfp24;
    const char* serialBinary;
};

// clang-format off
inline constexpr Support kSupportMatrix[] = {
    {Operation::Beep,                        kServed, kServed,     kServed},
    {Operation::GetActiveConfiguration,      kServed, "GetActiveConfiguration is not supported by the MFP24 protocol.", kServed},
    {Operation::GetBeeperVolume,             kServed, kNotOnMfp24, kServed},
    {Operation::GetTransparentModeStatus,    kServed, kNotOnMfp24, kNotOnSerialBinary},
    {Operation::EnableTransparentMode,       kServed, kNotOnMfp24, kNotOnSerialBinary},
    {Operation::GetBluetoothFirmwareVersion, kServed, kServed,     kNotOnSerialBinary},
    {Operation::GetCardReadPayload,          kServed, kNotOnMfp24, kServed},
    {Operation::GetConfigurationBlock1,      kServed, kNotOnMfp24, kServed},
    {Operation::GetConfigurationBlock2,      kServed, kNotOnMfp24, kServed},
    {Operation::GetConfigurationBlock3,      kServed, kNotOnMfp24, kServed},
    {Operation::GetConfigurationBlock4,      kServed, kNotOnMfp24, kServed},
    {Operation::GetConfigurationBlock5,      kServed, kNotOnMfp24, kServed},
    {Operation::GetControlFirmwareVersion,   kServed, kNotOnMfp24, kServed},
    {Operation::GetRadioFirmwareVersion,     kServed, kNotOnMfp24, kServed},
    {Operation::GetSamFirmwareVersion,       kServed, kNotOnMfp24, kNotOnSerialBinary},
    {Operation::GetESN,                      kServed, kNotOnMfp24, kServed},
    {Operation::GetPartNumber,               kServed, kServed,     kServed},
    {Operation::GetString,                   kServed, kNotOnMfp24, kServed},
    {Operation::GetInstalledHardware,        kServed, kServed,     kServed},
    {Operation::GetLuid,                     kServed, kNotOnMfp24, kServed},
    {Operation::SetLuid,                     kServed, kNotOnMfp24, kServed},
    {Operation::GetQueuedId,                 kServed, kNotOnMfp24, kServed},
    {Operation::GetSupportedCards,           kServed, kServed,     kServed},
    {Operation::GetCardAnalyzerStatus,       kServed, kNotOnMfp24, kServed},
    {Operation::ConfigureModuleState,        kServed, kNotOnMfp24, kNotOnSerialBinary},
    {Operation::SetBeeperVolume,             kServed, kServed,     kServed},
    {Operation::SetActiveConfiguration,      kServed, "SetActiveConfiguration is not supported by MFP24.", kServed},
    {Operation::WriteConfiguration,          kServed, kNotOnMfp24, kServed},
    {Operation::LoadStoredDefaults,          kServed, kNotOnMfp24, kServed},
    {Operation::CopyConfiguration,           kServed, kServed,     kServed},
    {Operation::SetConfigurationBlock1,      kServed, kNotOnMfp24, kServed},
    {Operation::SetConfigurationBlock2,      kServed, kNotOnMfp24, kServed},
    {Operation::SetConfigurationBlock3,      kServed, kNotOnMfp24, kServed},
    {Operation::SetConfigurationBlock4,      kServed, kNotOnMfp24, kServed},
    {Operation::SetConfigurationBlock5,      kServed, kNotOnMfp24, kServed},
    {Operation::GetExtendedConfiguration,    kServed, kNotOnMfp24, kServed},
    {Operation::SetExtendedConfiguration,    kServed, kNotOnMfp24, kServed},
    {Operation::GetBlob,                     kServed, kNotOnMfp24, kNotOnSerialBinary},
    {Operation::SetBlob,                     kServed, kNotOnMfp24, kNotOnSerialBinary},
    {Operation::GetBleBlob,                  kServed, "GetBleBlob command is not supported with the MFP24 Protocol",
                                                      "GetBleBlob command is not supported with the Serial Binary Protocol"},
    {Operation::SetBleBlob,                  kServed, kNotOnMfp24, kNotOnSerialBinary},
};
// clang-format on

constexpr const char* RefusalText(Operation operation, WireProtocol protocol)
{
    const Support& row = kSupportMatrix[static_cast<std::size_t>(operation)];
    switch (protocol)
    {
    case WireProtocol::FeatureReport:
        return row.featureReport;
    case WireProtocol::Mfp24:
        return row.mfp24;
    case WireProtocol::SerialBinary:
        return row.serialBinary;
    }
    return kServed;
}

constexpr std::size_t ServedCount(WireProtocol protocol)
{
    std::size_t served = 0;
    for (const Support& row : kSupportMatrix)
    {
        served += RefusalText(row.operation, protocol) == kServed ? 1 : 0;
    }
    return served;
}

constexpr bool RowsInOperationOrder()
{
    for (std::size_t i = 0; i < std::size(kSupportMatrix); ++i)
    {
        if (static_cast<std::size_t>(kSupportMatrix[i].operation) != i)
        {
            return false;
        }
    }
    return true;
}

static_assert(std::size(kSupportMatrix) == 41 && RowsInOperationOrder());
static_assert(ServedCount(WireProtocol::FeatureReport) == 41);
static_assert(ServedCount(WireProtocol::SerialBinary) == 32);
static_assert(ServedCount(WireProtocol::Mfp24) == 7);

// Throws ProtocolException with the refusal text, `file` and `line`, and the function name "Visit". An
// operation that the protocol serves is a logic error of the caller.
[[noreturn]] void Refuse(Operation operation, WireProtocol protocol, const char* file, int line);
} // namespace PyxProtocol::Visitors

// Refuses the operation from the visitor's own source line.
#define PYX_REFUSE(operation, protocol)                                                                      \
    ::PyxProtocol::Visitors::Refuse(::PyxProtocol::Visitors::Operation::operation,                           \
                                    ::PyxProtocol::Visitors::WireProtocol::protocol, PYX_SOURCE_FILE,        \
                                    __LINE__)
