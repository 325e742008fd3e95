#pragma once

#include <cstdint>
#include <functional>

#include "Operations/CardData.h"
#include "PyxExport.h"
#include "Reader/AbstractReader.h"
#include "Reader/CardData.h"
#include "Reader/ReaderOperationTypes.h"

namespace Pyx
{
// The reader of the class interface: every device operation runs under its capability check on the
// reader's protocol facade.
class PYX_API Reader : public AbstractReader
{
public:
    Reader(void* facade, void* facadeHandle);
    ~Reader() override;

    // Reads the metadata, installs a fresh capability profile and starts polling for the callbacks
    // already subscribed.
    void Init() override;

    // Subscribes a callback to every new card presented; polling starts now when the reader is
    // initialised, otherwise at Init. The size parameter applies to all of this reader's polling. After
    // Close, or while DestroyInstance runs, throws std::runtime_error as Init does.
    unsigned int OnCredentialPresented(std::function<void(CardData&)> callback,
                                       PyxProtocol::GetCardDataSizeParameters sizeParameters);
    // Unknown ids are ignored; removing the last subscription stops polling. A callback may remove itself.
    void UnsubscribeCredentialCallback(unsigned int subscriptionId);

private:
    // With the instance mutex held: starts the poll thread, whose reads fail at `destroyingLine` once the
    // reader is being destroyed.
    void StartPollingLocked(int destroyingLine);

public:
    // Each operation holds an OperationScope for its whole run and hands its facade work to
    // ExecuteWithCapabilityCheck (Utilities/CapabilityGuard.h) with scope.Profile(); the metadata it needs
    // comes from MetadataSnapshot().
    // --- Reader operations ---
    // Every operation names the capability it needs and fails with Pyx::ReaderException when the reader
    // lacks it, is not initialised, or a step fails. A configuration record that refuses a value (while a
    // configuration is converted, or a blob or BLE record is filled), the card-type catalogue (a reported
    // code it does not track, in GetSupportedCardTypes) and the configuration files' readers throw
    // TessmarException instead, the base of Pyx::ReaderException; catching TessmarException and then
    // std::exception covers every failure. An operation that changes stored settings ends by
    // storing the active configuration. The operations of one reader run one after another: a composite
    // one is never interleaved with another thread's operation on the same reader (the credential poll
    // included), and a sequence stops at its first failed step, keeping what the steps before it wrote.

    void Beep(std::uint8_t count, PyxProtocol::BEEP_DURATION duration) const;
    void GetBeeperVolume(PyxProtocol::BeepVolume& volume) const;
    void SetBeeperVolume(PyxProtocol::BeepVolume volume) const;
    // The 32 bytes of a card read go to the front of `card`'s bytes (a card holding fewer is grown to 32).
    void GetCardData(CardData& card, PyxProtocol::GetCardDataSizeParameters sizeParameters) const;
    void GetLuid(PyxProtocol::LuidResponseInformation& luid) const;
    void SetLuid(std::uint16_t luid) const;
    void GetModuleState(PyxProtocol::ReaderModuleId moduleId, PyxProtocol::ReaderModuleState& state) const;
    void SetModuleState(PyxProtocol::ReaderModuleId moduleId, PyxProtocol::ReaderModuleState state) const;
    void GetQueuedCardData(PyxProtocol::QueuedIdFlagParameters flags,
                           PyxProtocol::QueuedIdInformation& information) const;
    void GetTransparentModeStatus(PyxProtocol::TransparentModeState& state,
                                  PyxProtocol::TransparentModeStatus& status) const;
    // Stored only when `persist` is true.
    void EnableTransparentMode(bool enable, bool persist) const;
    // In every configuration of the reader.
    void EnableKeystroking(bool enable) const;

    void GetLedConfiguration(std::uint8_t configuration, LedConfiguration& ledConfiguration) const;
    void SetLedConfiguration(std::uint8_t configuration, const LedConfiguration& ledConfiguration) const;
    // Both records are replaced only when the whole read succeeded; `extendedConfiguration` only on readers
    // with extended configuration.
    void GetReaderConfiguration(std::uint8_t configuration,
                                PyxCommon::ReaderConfiguration& readerConfiguration,
                                PyxCommon::ExtendedConfiguration& extendedConfiguration) const;
    // The reader's own block-2 settings are kept whatever `readerConfiguration` says; an extended
    // configuration that does not validate is skipped with a warning.
    void SetReaderConfiguration(std::uint8_t configuration,
                                const PyxCommon::ReaderConfiguration& readerConfiguration,
                                const PyxCommon::ExtendedConfiguration& extendedConfiguration,
                                const PyxCommon::HashData& hashData) const;
    void ResetReaderConfiguration(CheckpointType checkpoint) const;
    void WriteUserDefaultsToReader() const;
    // Replaced by the card types of every code the reader reports, in its order.
    void GetSupportedCardTypes(std::vector<PyxCommon::CardType>& cardTypes) const;

    // `configuration`'s header names the blob to read; its data are replaced by the blob's.
    void ReadSmartCardConfigurationFromReader(PyxCommon::SmartCardConfiguration& configuration) const;
    // Every blob of a smart-card .ini file, each stored after it is written.
    void WriteSmartCardConfigurationToReader(const std::string& fileName) const;
    // Writes the data set to a BLE .hwg file.
    void ReadBleConfigurationFromReader(PyxCommon::BleDataType dataType, const std::string& fileName);
    // The data set of a BLE .hwg file; the bytes the reader's firmware owns keep the reader's values.
    void WriteBleConfigurationToReader(PyxCommon::BleDataType dataType, const std::string& fileName) const;
    // Every configuration of the reader into one .hwg file.
    void ReadHwgFileFromReader(const std::string& fileName, bool withEndMarker);
    // A .hwg file with one entry per configuration of the reader; the settings a .hwg file does not carry
    // keep the reader's values.
    void WriteHwgFileToReader(const std::string& fileName) const;

    using CardAnalyzerCallback = void (*)();
    // Not available on any reader.
    void AnalyzeCard(CardAnalyzerCallback* callback) const;
    // Not available yet.
    void ConfigureBaudRate(PyxCommon::SerialPortBaudRate baudRate) const;

    // --- end of reader operations ---
};
} // namespace Pyx
