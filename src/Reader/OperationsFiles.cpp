// The reader operations that move a reader's settings to and from files: smart-card .ini files, BLE .hwg
// files and .hwg configuration files. Like every operation they hold the reader's sequence lock throughout,
// so a transfer of several configurations is never interleaved with another thread's operation.

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "OperationsSupport.h"
#include "ProtocolFacade.h"
#include "Reader/Reader.h"
#include "Reader/ReaderException.h"
#include "ReaderLog.h"
#include "Utilities/CapabilityGuard.h"
#include "Utility/Parsers/BleHwgFileParser.h"
#include "Utility/Parsers/HwgFileParser.h"
#include "Utility/Parsers/SmartCardConfigurationFileParser.h"

namespace Pyx
{
namespace
{
using Capability = ReaderCapability;
using Steps = OperationsSupport;

// Lines recorded by the failures raised here, as hosts have always seen them.
constexpr int kLineNotAnIniFile = 615;
constexpr int kLineNotAHwgFile = 673;
constexpr int kLineHwgCountMismatch = 679;
constexpr int kLineBleReadIncomplete = 819;
constexpr int kLineBleFileUnreadable = 851;
constexpr int kLineBleFileWrongType = 862;
constexpr int kLineBleFileWrongSize = 874;

constexpr std::uint8_t kSmartCardKeyBlobType = 15;
constexpr int kSmartCardSettleMs = 500;
constexpr const char* kLibraryVersionInFiles = "Unknown";

bool HasExtension(const std::string& fileName, const char* extension)
{
    // Compared exactly: ".INI" is not ".ini".
    return std::filesystem::path(fileName).extension() == extension;
}

// `kind` names the file in the failure: "INI", "HWG".
void RequireExtension(const std::string& fileName, const char* extension, const char* kind, int line,
                      const char* function)
{
    if (!HasExtension(fileName, extension))
    {
        throw ReaderException(fmt::format("File '{}' is not a valid {} file.", fileName, kind),
                              Steps::kSourceFile, line, function);
    }
}

std::size_t BleDataSize(PyxCommon::BleDataType type)
{
    return type == PyxCommon::BleDataType::Data ? 384 : 128;
}

// What the reader takes for `type`: an unencrypted key is one short block of 16 bytes.
std::size_t BleWriteSize(PyxCommon::BleDataType type)
{
    return type == PyxCommon::BleDataType::UnencryptedKey ? 16 : BleDataSize(type);
}

// The type a BLE file of `type` reads back as. A file holds data set 1 or 2 only, so an unencrypted key
// comes as data set 2, the key's, and its size tells it from a key.
PyxCommon::BleDataType BleFileDataType(PyxCommon::BleDataType type)
{
    return type == PyxCommon::BleDataType::UnencryptedKey ? PyxCommon::BleDataType::Key : type;
}

const char* BleDataTypeName(PyxCommon::BleDataType type)
{
    switch (type)
    {
    case PyxCommon::BleDataType::Data:
        return "Data";
    case PyxCommon::BleDataType::Key:
        return "Key";
    case PyxCommon::BleDataType::UnencryptedKey:
        return "UnencryptedKey";
    }
    return "Unknown";
}

// The bytes of a BLE data set that belong to the reader's firmware; a file never changes them.
struct BleReadOnlyByte
{
    std::size_t offset;
    std::uint8_t valueWithHidBle; // when the "RF HID BLE" module is installed; 0x00 otherwise
};
constexpr BleReadOnlyByte kBleReadOnlyByteOverride[] = {
    {145, 0x00}, {146, 0x44}, {147, 0x49}, {148, 0x48}, {173, 0xFC}, {194, 0xC1}, {213, 0xFC},
};
// Installed flag of module 6 ("RF HID BLE") among the metadata's installed-hardware flags.
constexpr std::size_t kHidBleInstalledFlag = 16;

void OverrideBleReadOnlyBytes(std::vector<std::uint8_t>& data, const ReaderMetadataStruct& metadata)
{
    const bool hidBleInstalled = metadata.InstalledHardware[kHidBleInstalledFlag] != 0;
    for (const BleReadOnlyByte& entry : kBleReadOnlyByteOverride)
    {
        const std::uint8_t wanted = hidBleInstalled ? entry.valueWithHidBle : 0x00;
        const std::uint8_t old = data[entry.offset];
        if (old == wanted)
        {
            continue;
        }
        data[entry.offset] = wanted;
        Log().Warn(kReaderTag,
                   fmt::format("Byte at offset {} was 0x{:02X}, overridden to 0x{:02X} — this field "
                               "is read-only and managed by the reader's firmware.",
                               entry.offset, old, wanted));
    }
}

HwgFileInfo FileInfo(const ReaderMetadataStruct& metadata, bool withEndMarker)
{
    HwgFileInfo info;
    info.DeviceFirmwareVersion = PyxCommon::FieldText(metadata.ReaderString4);
    info.LibraryVersion = kLibraryVersionInFiles;
    info.WithEndMarker = withEndMarker;
    return info;
}

// A reader without configurations has nothing to read into a .hwg file and nothing to load from one.
void RequireConfigurations(std::uint32_t count, const std::string& fileName, const char* function)
{
    if (count == 0)
    {
        throw ReaderException(
            fmt::format("Reader reports no configurations; HWG file '{}' not transferred.", fileName),
            Steps::kSourceFile, __LINE__, function);
    }
}
} // namespace

void Reader::WriteSmartCardConfigurationToReader(const std::string& fileName) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    RequireExtension(fileName, ".ini", "INI", kLineNotAnIniFile, "WriteSmartCardConfigurationToReader");
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::WriteSmartCardConfigurationToReader",
        [&]
        {
            PyxProtocol::ProtocolFacade& facade = *scope.Facade();
            const std::vector<PyxCommon::SmartCardConfiguration> blobs =
                PyxCommon::SmartCardConfigurationFileParser::ReadConfigurationFromSmartCardIniFile(fileName);
            const std::unique_ptr<PyxCommon::TimeDelay> delay = MakeReaderOperationDelay();
            for (const PyxCommon::SmartCardConfiguration& blob : blobs)
            {
                PYX_STEP(facade.SetBlob(blob.GetHeader(), blob.GetBlobData()));
                if (blob.GetHeader().BlobType == kSmartCardKeyBlobType)
                {
                    delay->DelayMilliseconds(kSmartCardSettleMs);
                }
                PYX_STEP(Steps::Store(facade));
                delay->DelayMilliseconds(kSmartCardSettleMs);
            }
            return Steps::Succeeded();
        },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_SMART_CARD));
}

void Reader::ReadBleConfigurationFromReader(PyxCommon::BleDataType dataType, const std::string& fileName)
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    std::vector<std::uint8_t> bytes;
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::ReadBleConfigurationFromReader",
        [&] { return scope.Facade()->GetBleBlob(dataType, bytes); }, scope.Profile(),
        Steps::Requiring(Capability::READER_CAPABILITY_BLUETOOTH));
    const std::size_t expected = BleDataSize(dataType);
    if (bytes.size() != expected)
    {
        throw ReaderException(
            fmt::format("Failed to read complete BLE configuration. Expected {} bytes, got {} "
                        "bytes.",
                        expected, bytes.size()),
            Steps::kSourceFile, kLineBleReadIncomplete, "ReadBleConfigurationFromReader");
    }
    PyxCommon::ReaderBleConfiguration configuration;
    configuration.SetBleDataType(static_cast<std::uint8_t>(dataType)).SetBleData(bytes);
    PyxCommon::BleHwgFileParser::WriteBleConfigurationToBleHwgFile(configuration, fileName,
                                                                   FileInfo(MetadataSnapshot(), true), true);
}

void Reader::WriteBleConfigurationToReader(PyxCommon::BleDataType dataType, const std::string& fileName) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    PyxCommon::ReaderBleConfiguration configuration;
    try
    {
        configuration = PyxCommon::BleHwgFileParser::ReadBleConfigurationFromBleHwgFile(fileName);
    }
    catch (const TessmarException& error)
    {
        throw ReaderException(std::string("Failed to read BLE configuration file: ") + error.what(),
                              Steps::kSourceFile, kLineBleFileUnreadable, "WriteBleConfigurationToReader");
    }
    if (configuration.GetBleDataType() != BleFileDataType(dataType))
    {
        throw ReaderException(
            fmt::format("Invalid BLE configuration file: Expected BLE {} type, got {} type.",
                        BleDataTypeName(dataType), BleDataTypeName(configuration.GetBleDataType())),
            Steps::kSourceFile, kLineBleFileWrongType, "WriteBleConfigurationToReader");
    }
    std::vector<std::uint8_t> bytes = configuration.GetBleData();
    const std::size_t expected = BleWriteSize(dataType);
    if (bytes.size() != expected)
    {
        throw ReaderException(
            fmt::format("Invalid BLE configuration data size. Expected {} bytes, got {} bytes.", expected,
                        bytes.size()),
            Steps::kSourceFile, kLineBleFileWrongSize, "WriteBleConfigurationToReader");
    }
    if (dataType == PyxCommon::BleDataType::Data)
    {
        OverrideBleReadOnlyBytes(bytes, MetadataSnapshot());
    }
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::WriteBleConfigurationToReader",
        [&] { return scope.Facade()->SetBleBlob(dataType, bytes); }, scope.Profile(),
        Steps::Requiring(Capability::READER_CAPABILITY_BLUETOOTH));
}

void Reader::ReadHwgFileFromReader(const std::string& fileName, bool withEndMarker)
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    const ReaderMetadataStruct metadata = MetadataSnapshot();
    const std::uint32_t count = metadata.ConfigurationCount;
    RequireConfigurations(count, fileName, "ReadHwgFileFromReader");
    std::vector<PyxCommon::ReaderConfiguration> configurations(count);
    std::vector<PyxCommon::ExtendedConfiguration> extendedConfigurations(count);
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::ReadHwgFileFromReader",
        [&]
        {
            for (std::uint32_t i = 0; i < count; ++i)
            {
                Steps::ReadConfiguration(*scope.Facade(), scope.Profile(), static_cast<std::uint8_t>(i),
                                         configurations[i], extendedConfigurations[i]);
            }
            PyxCommon::HwgFileParser::WriteConfigurationToHwgFile(
                configurations, extendedConfigurations, fileName, FileInfo(metadata, withEndMarker));
            return Steps::Succeeded();
        },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_CONFIGURABLE));
}

void Reader::WriteHwgFileToReader(const std::string& fileName) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    RequireExtension(fileName, ".hwg", "HWG", kLineNotAHwgFile, "WriteHwgFileToReader");
    const ReaderMetadataStruct metadata = MetadataSnapshot();
    const std::uint32_t count = metadata.ConfigurationCount;
    RequireConfigurations(count, fileName, "WriteHwgFileToReader");
    std::vector<HwgConfigurationEntry> entries =
        PyxCommon::HwgFileParser::ReadConfigurationFromHwgFile(fileName);
    if (entries.size() != count)
    {
        throw ReaderException(fmt::format("Number of configurations in HWG file-{} does not match reader's "
                                          "configuration count-{}.",
                                          entries.size(), count),
                              Steps::kSourceFile, kLineHwgCountMismatch, "WriteHwgFileToReader");
    }
    // A file of one configuration carries no card type and priority; the reader's own are kept then.
    const bool fileCarriesCardType = entries.size() != 1;
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::WriteHwgFileToReader",
        [&]
        {
            PyxProtocol::ProtocolFacade& facade = *scope.Facade();
            for (std::size_t i = 0; i < entries.size(); ++i)
            {
                const auto number = static_cast<std::uint8_t>(i);
                PyxProtocol::ReaderConfiguration current{};
                PYX_STEP(facade.GetConfiguration(number, current));
                PyxCommon::ReaderConfiguration& configuration = entries[i].ReaderConfiguration;
                configuration.SetUseIndividualIdAndFacFixedLengths(current.Block4.SplitFixedLength != 0)
                    .SetUseFixedLengthFac(current.Block4.FixedLengthFac != 0)
                    .SetUseFixedLengthId(current.Block4.FixedLengthId != 0)
                    .SetCfgRb3(current.Block4.CfgRb3)
                    .SetCfgRb4(current.Block4.CfgRb4)
                    .SetDisableCardConfiguration(current.Block5.DisableCardConfiguration != 0)
                    .SetQuorvaneCompatibilityCharacter(current.Block5.QuorvaneCompatibilityCharacter)
                    .SetQuorvaneCharacterCount(current.Block5.QuorvaneCharacterCount);
                if (!fileCarriesCardType)
                {
                    configuration.SetCardType(current.Block5.CardType)
                        .SetHighPriorityCardType(current.Block5.SetHighPriorityCardType != 0);
                }
                Steps::WriteConfiguration(facade, scope.Profile(), metadata, number, configuration,
                                          entries[i].ExtendedConfiguration, PyxCommon::HashData{});
            }
            return Steps::Succeeded();
        },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_CONFIGURABLE));
}
} // namespace Pyx
