#include "Reader/ReaderMetadata.h"

#include <array>
#include <cctype>
#include <cstring>
#include <exception>
#include <optional>
#include <vector>

#include <fmt/format.h>

#include "ProtocolFacade.h"
#include "Reader/ReaderException.h"
#include "ReaderLog.h"
#include "ReaderMetadataPopulation.h"

namespace Pyx
{
namespace
{
constexpr int kLineInconsistentBlock2 = 677;
// Room for any text answer; the record keeps at most 511 characters of it.
constexpr std::size_t kTextBufferSize = 8192;

struct ModuleLabel
{
    const char* label;
    // Index of the module's installed flag within InstalledHardware; none for modules 8 and 9.
    std::optional<std::size_t> installedFlag;
};

constexpr std::size_t kSupportFlagCount = 10;
constexpr std::array<ModuleLabel, kSupportFlagCount> kModules{{
    {"SAM SE", 10},
    {"RF AMS", 11},
    {"RF 125", 12},
    {"RF Legic", 13},
    {"RF BLE", 14},
    {"NXP", 15},
    {"RF HID BLE", 16},
    {"Felica", 17},
    {"Beeper", std::nullopt},
    {"Nano", std::nullopt},
}};

// A text is present when it holds something other than white space.
bool IsPresentText(const char* text)
{
    for (; *text != '\0'; ++text)
    {
        if (std::isspace(static_cast<unsigned char>(*text)) == 0)
        {
            return true;
        }
    }
    return false;
}

// Copies at most 511 characters of `text` (up to its zero byte) and sets the present flag.
template <std::size_t N> void SetText(char (&field)[N], std::uint8_t& present, const char* text)
{
    const std::size_t length = strnlen(text, N - 1);
    std::memset(field, 0, N);
    std::memcpy(field, text, length);
    present = IsPresentText(field) ? 1 : 0;
}

std::uint8_t VersionPresent(const PyxProtocol::MicrocontrollerFirmwareVersion& version)
{
    return version.Version != 0 ? 1 : 0;
}

std::uint8_t VersionPresent(const PyxProtocol::BluetoothFirmwareVersion& version)
{
    return (version.Field32A != 0 || version.Field32B != 0 || version.Field32C != 0) ? 1 : 0;
}

bool SameBlock2Fields(const PyxProtocol::ReaderConfigurationBlock2& a,
                      const PyxProtocol::ReaderConfigurationBlock2& b)
{
    return a.ReaderSupportsReverseAllBytes == b.ReaderSupportsReverseAllBytes &&
           a.ExtendedAscii == b.ExtendedAscii && a.ExtendedOutputCapable == b.ExtendedOutputCapable &&
           a.Dravik == b.Dravik;
}

// The firmware module types asked for, as the reader numbers them.
PyxProtocol::FirmwareVersionModuleType ModuleType(std::uint8_t value)
{
    return static_cast<PyxProtocol::FirmwareVersionModuleType>(value);
}

void FillInstalledHardware(PyxProtocol::ProtocolFacade& facade, ReaderMetadataStruct& record)
{
    try
    {
        Log().Trace(kReaderTag, "Calling GetInstalledHardware on protocol facade.");
        InstalledHardwareInformation information{};
        const ProtocolCommandResult result = facade.GetInstalledHardware(information);
        Log().Trace(kReaderTag,
                    fmt::format("GetInstalledHardware completed, HasException: {}", result.HasException));
        if (result.HasException)
        {
            Log().Debug(kReaderTag, fmt::format("GetInstalledHardware returned error: {}",
                                                PyxCommon::FieldText(result.Message)));
            return;
        }
        static_assert(sizeof(information) == sizeof(record.InstalledHardware));
        std::memcpy(record.InstalledHardware, &information, sizeof(record.InstalledHardware));
        record.InstalledHardwarePresent = 1;
        const std::string text = Detail::InstalledHardwareText(record);
        SetText(record.InstalledHardwareText, record.InstalledHardwareTextPresent, text.c_str());
        SetText(record.InstalledHardwareText2, record.InstalledHardwareText2Present, text.c_str());
    }
    catch (const std::exception& exception)
    {
        Log().Debug(kReaderTag, fmt::format("Exception in GetInstalledHardware: {}", exception.what()));
    }
    catch (...)
    {
        Log().Debug(kReaderTag, "Unknown exception in GetInstalledHardware");
    }
}

// Block 2 fields belong to the reader, not to one configuration: they must agree in every configuration
// that can be read. Configuration 0 is active afterwards.
void FillBlock2Fields(PyxProtocol::ProtocolFacade& facade, ReaderMetadataStruct& record)
{
    if (record.ConfigurationCountPresent == 0 || static_cast<std::int32_t>(record.ConfigurationCount) < 1)
    {
        return;
    }
    std::optional<PyxProtocol::ReaderConfigurationBlock2> kept;
    for (std::uint32_t configuration = 0; configuration < record.ConfigurationCount; ++configuration)
    {
        if (facade.SetActiveConfiguration(static_cast<std::uint8_t>(configuration)).HasException)
        {
            continue;
        }
        PyxProtocol::ReaderConfigurationBlock2 block{};
        if (facade.GetConfigurationBlock2(block).HasException)
        {
            continue;
        }
        if (!kept)
        {
            kept = block;
        }
        else if (!SameBlock2Fields(*kept, block))
        {
            facade.SetActiveConfiguration(0);
            throw ReaderException("Block2 capability fields are inconsistent across reader configurations.",
                                  PYX_SOURCE_FILE, kLineInconsistentBlock2, "PopulateMetadata");
        }
    }
    facade.SetActiveConfiguration(0);
    if (kept)
    {
        record.ExtendedOutputCapable = kept->ExtendedOutputCapable;
        record.ReaderSupportsReverseAllBytes = kept->ReaderSupportsReverseAllBytes;
        record.ExtendedAscii = kept->ExtendedAscii;
        record.Dravik = kept->Dravik;
    }
}
} // namespace

std::string ProductLineTypeToString(ProductLineType type)
{
    switch (type)
    {
    case ProductLineType::Unknown:
        return "Unknown";
    case ProductLineType::Vessik:
        return "Vessik";
    case ProductLineType::Carmot:
        return "Carmot";
    case ProductLineType::Frenlo:
        return "Frenlo";
    case ProductLineType::Pellit:
        return "Pellit";
    case ProductLineType::Skarra:
        return "Skarra";
    case ProductLineType::Ostrel:
        return "Ostrel";
    case ProductLineType::NotApplicable:
        return "Not Applicable";
    }
    return "Invalid Product Line";
}

std::string HardwarePlatformDesignationToString(HardwarePlatformDesignation designation)
{
    switch (designation)
    {
    case HardwarePlatformDesignation::Unknown:
        return "Unknown";
    case HardwarePlatformDesignation::SiLabs:
        return "SiLabs";
    case HardwarePlatformDesignation::STM32:
        return "STM32";
    case HardwarePlatformDesignation::PIC:
        return "PIC";
    case HardwarePlatformDesignation::NotApplicable:
        return "Not Applicable";
    }
    return "Invalid Platform Designation";
}

namespace Detail
{
std::string InstalledHardwareText(const ReaderMetadataStruct& record)
{
    std::string text;
    for (std::size_t module = 0; module < kModules.size(); ++module)
    {
        if (module != 0)
        {
            text += "\n";
        }
        text += kModules[module].label;
        text += ": ";
        if (record.InstalledHardware[module] == 0)
        {
            text += "Not Supported";
            continue;
        }
        const auto installedFlag = kModules[module].installedFlag;
        const bool installed = installedFlag && record.InstalledHardware[*installedFlag] != 0;
        text += installed ? "Supported (Installed)" : "Supported (Not installed)";
    }
    return text;
}

void FillMetadata(PyxProtocol::ProtocolFacade& facade, ReaderMetadataStruct& record)
{
    std::vector<char> buffer(kTextBufferSize, '\0');
    const auto clear = [&buffer] { std::fill(buffer.begin(), buffer.end(), '\0'); };
    facade.GetESN(buffer.data(), buffer.size());
    const std::string esn(buffer.data());
    const auto readString = [&](PyxProtocol::GetStringIndex index)
    {
        clear();
        facade.GetString(buffer.data(), buffer.size(), index);
        return std::string(buffer.data());
    };
    const std::string string2 = readString(PyxProtocol::GetStringIndex::String2);
    const std::string string7 = readString(PyxProtocol::GetStringIndex::String7);
    const std::string string4 = readString(PyxProtocol::GetStringIndex::String4);

    PyxCommon::DeviceId deviceId{};
    facade.GetDeviceId(deviceId);
    clear();
    facade.GetPartNumber(buffer.data(), buffer.size());
    const std::string partNumber(buffer.data());

    std::vector<std::uint16_t> supportedCards;
    facade.GetSupportedCards(supportedCards);

    PyxProtocol::MicrocontrollerFirmwareVersion control0{}, control1{}, control2{};
    facade.GetControlFirmwareVersion(control0, ModuleType(0));
    facade.GetControlFirmwareVersion(control1, ModuleType(1));
    facade.GetControlFirmwareVersion(control2, ModuleType(2));
    PyxProtocol::BluetoothFirmwareVersion bluetooth{};
    facade.GetBluetoothFirmwareVersion(bluetooth, ModuleType(0));
    PyxProtocol::MicrocontrollerFirmwareVersion radio0{}, radio1{}, radio2{};
    facade.GetRadioFirmwareVersion(radio0, ModuleType(0));
    facade.GetRadioFirmwareVersion(radio1, ModuleType(1));
    facade.GetRadioFirmwareVersion(radio2, ModuleType(2));
    PyxProtocol::FelicaSamFirmwareVersion felica{};
    facade.GetFelicaSamFirmwareVersion(felica);
    PyxProtocol::HidSeSamFirmwareVersion hidSe{};
    facade.GetHidSeSamFirmwareVersion(hidSe);
    PyxProtocol::NxpSamFirmwareVersion nxp{};
    facade.GetNxpAvxSamFirmwareVersion(nxp);
    record.ControlFirmwareVersion0 = control0;
    record.ControlFirmwareVersion1 = control1;
    record.ControlFirmwareVersion2 = control2;
    record.BluetoothFirmwareVersion = bluetooth;
    record.RadioFirmwareVersion0 = radio0;
    record.RadioFirmwareVersion1 = radio1;
    record.RadioFirmwareVersion2 = radio2;
    record.FelicaSamFirmwareVersion = felica;
    record.HidSeSamFirmwareVersion = hidSe;
    record.NxpSamFirmwareVersion = nxp;

    SetText(record.Esn, record.EsnPresent, esn.c_str());
    SetText(record.ReaderString2, record.ReaderString2Present, string2.c_str());
    SetText(record.PartNumber, record.PartNumberPresent, partNumber.c_str());
    SetText(record.ReaderString7, record.ReaderString7Present, string7.c_str());
    SetText(record.ReaderString4, record.ReaderString4Present, string4.c_str());
    const std::string deviceIdText = fmt::format("{:04X}:{:04X} ({})", deviceId.VendorId, deviceId.ProductId,
                                                 PyxCommon::FieldText(deviceId.SerialNumber));
    SetText(record.DeviceIdText, record.DeviceIdTextPresent, deviceIdText.c_str());
    SetText(record.HardwarePlatformText, record.HardwarePlatformTextPresent,
            HardwarePlatformDesignationToString(HardwarePlatformDesignation::Unknown).c_str());
    SetText(record.ProductLineText, record.ProductLineTextPresent,
            ProductLineTypeToString(ProductLineType::Unknown).c_str());
    SetText(record.MicrocontrollerName, record.MicrocontrollerNamePresent, "STM32???");

    PyxProtocol::ActiveConfigurationInformation active{};
    facade.GetActiveConfiguration(active);
    record.ConfigurationCount = active.ConfigurationCount;
    record.ConfigurationCountPresent = active.ConfigurationCount != 0 ? 1 : 0;

    PyxProtocol::TransparentModeStatusInformation transparent{};
    facade.GetTransparentModeStatus(transparent);
    record.TransparentModeReported = transparent.Reported == 1 ? 1 : 0;

    record.ControlFirmwareVersion0Present = VersionPresent(record.ControlFirmwareVersion0);
    record.ControlFirmwareVersion1Present = VersionPresent(record.ControlFirmwareVersion1);
    record.ControlFirmwareVersion2Present = VersionPresent(record.ControlFirmwareVersion2);
    record.RadioFirmwareVersion0Present = VersionPresent(record.RadioFirmwareVersion0);
    record.RadioFirmwareVersion1Present = VersionPresent(record.RadioFirmwareVersion1);
    record.RadioFirmwareVersion2Present = VersionPresent(record.RadioFirmwareVersion2);
    record.BluetoothFirmwareVersionPresent = VersionPresent(record.BluetoothFirmwareVersion);
    record.HidSeSamFirmwareVersionPresent = VersionPresent(record.HidSeSamFirmwareVersion);
    record.NxpSamFirmwareVersionPresent = VersionPresent(record.NxpSamFirmwareVersion);
    record.FelicaSamFirmwareVersionPresent = VersionPresent(record.FelicaSamFirmwareVersion);

    FillInstalledHardware(facade, record);
    FillBlock2Fields(facade, record);
}
} // namespace Detail
} // namespace Pyx
