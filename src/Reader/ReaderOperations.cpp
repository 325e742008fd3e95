// The device operations of Pyx::Reader that talk to the reader only. Each names the capability it needs and
// runs its facade work inside the capability guard, holding the reader's sequence lock from its first step
// to its last: another thread's operation on the same reader (the credential poll included) never runs
// between two steps of a sequence, so no block is read or written while an unexpected configuration is
// active.

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "CardTypes/CardTypeResolver.h"
#include "OperationsSupport.h"
#include "ProtocolFacade.h"
#include "Reader/Reader.h"
#include "Reader/ReaderException.h"
#include "Utilities/CapabilityGuard.h"

namespace Pyx
{
namespace
{
using Capability = ReaderCapability;
using Steps = OperationsSupport;

// Lines recorded by the failures raised here, as hosts have always seen them.
constexpr int kLineAnalyzeCardNotImplemented = 156;
constexpr int kLineUnsupportedCheckpoint = 765;
constexpr int kLineBaudRateNotImplemented = 792;

constexpr std::size_t kCardPayloadBytes = sizeof(PyxProtocol::CardReadPayload::Data);

// Block 3's LED members as the two-byte LED record.
LedConfiguration LedFromBlock3(const PyxProtocol::ReaderConfigurationBlock3& block)
{
    LedConfiguration led;
    led.SoftwareControlled = block.LedControlFlag != 0;
    if (block.LedControlFlag == 0)
    {
        led.LedColor = 0;
    }
    else if (block.LedRed != 0 && block.LedGreen == 0)
    {
        led.LedColor = 2;
    }
    else if (block.LedRed != 0 && block.LedGreen != 0)
    {
        led.LedColor = 4;
    }
    else if (block.LedGreen != 0)
    {
        led.LedColor = 3;
    }
    else
    {
        led.LedColor = 1;
    }
    return led;
}

void ApplyLedToBlock3(const LedConfiguration& led, PyxProtocol::ReaderConfigurationBlock3& block)
{
    if (!led.SoftwareControlled)
    {
        // The LEDs themselves stay as the reader has them.
        block.LedControlFlag = 0;
        return;
    }
    block.LedControlFlag = 1;
    switch (led.LedColor)
    {
    case 1:
        block.LedRed = 0;
        block.LedGreen = 0;
        break;
    case 2:
        block.LedRed = 1;
        block.LedGreen = 0;
        break;
    case 3:
        block.LedRed = 0;
        block.LedGreen = 1;
        break;
    case 4:
        block.LedRed = 1;
        block.LedGreen = 1;
        break;
    default: // an unknown colour leaves the LEDs as they are
        break;
    }
}

// Selects the configuration and reads its block 3.
ProtocolCommandResult ReadBlock3(PyxProtocol::ProtocolFacade& facade, std::uint8_t configuration,
                                 PyxProtocol::ReaderConfigurationBlock3& block)
{
    PYX_STEP(facade.SetActiveConfiguration(configuration));
    return facade.GetConfigurationBlock3(block);
}
} // namespace

void Reader::Beep(std::uint8_t count, PyxProtocol::BEEP_DURATION duration) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::Beep", [&] { return scope.Facade()->Beep(count, duration); }, scope.Profile(),
        Steps::Requiring(Capability::READER_CAPABILITY_BEEPER));
}

void Reader::GetBeeperVolume(PyxProtocol::BeepVolume& volume) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::GetBeeperVolume", [&] { return scope.Facade()->GetBeeperVolume(volume); },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_BEEPER));
}

void Reader::SetBeeperVolume(PyxProtocol::BeepVolume volume) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::SetBeeperVolume", [&] { return scope.Facade()->SetBeeperVolume(volume); },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_BEEPER));
}

void Reader::GetCardData(CardData& card, PyxProtocol::GetCardDataSizeParameters sizeParameters) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    PyxProtocol::CardReadPayload payload{};
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::GetCardData",
        [&] { return scope.Facade()->GetCardReadPayload(sizeParameters, payload); }, scope.Profile(),
        ReaderCapabilitySet{});
    // A caller's card shorter than the payload is grown (to a fresh card), never written past its end.
    if (card.Size() < kCardPayloadBytes)
    {
        card = CardData{};
    }
    std::copy_n(reinterpret_cast<const std::byte*>(payload.Data), kCardPayloadBytes, card.AsByteArray());
    card.SetBitCount(payload.BitCount);
}

void Reader::GetLuid(PyxProtocol::LuidResponseInformation& luid) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::GetLuid", [&] { return scope.Facade()->GetLuid(luid); }, scope.Profile(),
        Steps::Requiring(Capability::READER_CAPABILITY_LUID));
}

void Reader::SetLuid(std::uint16_t luid) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::SetLuid",
        [&]
        {
            PYX_STEP(scope.Facade()->SetLuid(luid));
            return Steps::Store(*scope.Facade());
        },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_LUID));
}

void Reader::GetModuleState(PyxProtocol::ReaderModuleId moduleId, PyxProtocol::ReaderModuleState& state) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::GetModuleState",
        [&] {
            return scope.Facade()->ConfigureModuleState(PyxProtocol::ReaderModuleAction::Get, moduleId,
                                                        state);
        },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_MODULE_CONTROL));
}

void Reader::SetModuleState(PyxProtocol::ReaderModuleId moduleId, PyxProtocol::ReaderModuleState state) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::SetModuleState",
        [&]
        {
            PYX_STEP(
                scope.Facade()->ConfigureModuleState(PyxProtocol::ReaderModuleAction::Set, moduleId, state));
            return Steps::Store(*scope.Facade());
        },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_MODULE_CONTROL));
}

void Reader::GetQueuedCardData(PyxProtocol::QueuedIdFlagParameters flags,
                               PyxProtocol::QueuedIdInformation& information) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::GetQueuedCardData", [&] { return scope.Facade()->GetQueuedId(flags, information); },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_QUEUED_CARD_DATA));
}

void Reader::GetTransparentModeStatus(PyxProtocol::TransparentModeState& state,
                                      PyxProtocol::TransparentModeStatus& status) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::GetTransparentModeStatus",
        [&]
        {
            PyxProtocol::TransparentModeStatusInformation information{};
            PYX_STEP(scope.Facade()->GetTransparentModeStatus(information));
            state = information.State;
            status = information.Status;
            return Steps::Succeeded();
        },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_TRANSPARENT_MODE));
}

void Reader::EnableTransparentMode(bool enable, bool persist) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::EnableTransparentMode",
        [&]
        {
            PYX_STEP(scope.Facade()->EnableTransparentMode(enable));
            return persist ? Steps::Store(*scope.Facade()) : Steps::Succeeded();
        },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_TRANSPARENT_MODE));
}

void Reader::EnableKeystroking(bool enable) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    const std::uint32_t count = MetadataSnapshot().ConfigurationCount;
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::EnableKeystroking",
        [&]
        {
            PyxProtocol::ProtocolFacade& facade = *scope.Facade();
            for (std::uint32_t configuration = 0; configuration < count; ++configuration)
            {
                const auto number = static_cast<std::uint8_t>(configuration);
                PyxProtocol::ReaderConfigurationBlock1 block1{};
                PYX_STEP(facade.SetActiveConfiguration(number));
                PYX_STEP(facade.GetConfigurationBlock1(block1));
                block1.DisableKeystroking = enable ? 0 : 1;
                PYX_STEP(facade.SetConfigurationBlock1(number, block1));
                PYX_STEP(Steps::Store(facade));
            }
            return Steps::Succeeded();
        },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_KEYSTROKING));
}

void Reader::GetLedConfiguration(std::uint8_t configuration, LedConfiguration& ledConfiguration) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    PyxProtocol::ReaderConfigurationBlock3 block3{};
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::GetLedConfiguration",
        [&] { return ReadBlock3(*scope.Facade(), configuration, block3); }, scope.Profile(),
        Steps::Requiring(Capability::READER_CAPABILITY_LED_CONFIGURATION));
    ledConfiguration = LedFromBlock3(block3);
}

void Reader::SetLedConfiguration(std::uint8_t configuration, const LedConfiguration& ledConfiguration) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    constexpr const char* kName = "Pyx::Reader::SetLedConfiguration";
    const ReaderCapabilitySet required = Steps::Requiring(Capability::READER_CAPABILITY_LED_CONFIGURATION);
    PyxProtocol::ReaderConfigurationBlock3 block3{};
    ExecuteWithCapabilityCheck(
        kName, [&] { return ReadBlock3(*scope.Facade(), configuration, block3); }, scope.Profile(), required);
    ApplyLedToBlock3(ledConfiguration, block3);
    ExecuteWithCapabilityCheck(
        kName,
        [&]
        {
            PYX_STEP(scope.Facade()->SetConfigurationBlock3(configuration, block3));
            return Steps::Store(*scope.Facade());
        },
        scope.Profile(), required);
}

void Reader::GetReaderConfiguration(std::uint8_t configuration,
                                    PyxCommon::ReaderConfiguration& readerConfiguration,
                                    PyxCommon::ExtendedConfiguration& extendedConfiguration) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    Steps::ReadConfiguration(*scope.Facade(), scope.Profile(), configuration, readerConfiguration,
                             extendedConfiguration);
}

void Reader::SetReaderConfiguration(std::uint8_t configuration,
                                    const PyxCommon::ReaderConfiguration& readerConfiguration,
                                    const PyxCommon::ExtendedConfiguration& extendedConfiguration,
                                    const PyxCommon::HashData& hashData) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    Steps::WriteConfiguration(*scope.Facade(), scope.Profile(), MetadataSnapshot(), configuration,
                              readerConfiguration, extendedConfiguration, hashData);
}

void Reader::ResetReaderConfiguration(CheckpointType checkpoint) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::ResetReaderConfiguration",
        [&]
        {
            PyxProtocol::ProtocolFacade& facade = *scope.Facade();
            switch (checkpoint)
            {
            case CheckpointType::FactoryDefaults:
                PYX_STEP(facade.CopyConfiguration(PyxProtocol::ConfigurationLocation::FactoryDefaults,
                                                  PyxProtocol::ConfigurationLocation::Stored2, 0, 0));
                return facade.LoadStoredDefaults();
            case CheckpointType::UserDefaults:
                return facade.LoadStoredDefaults();
            }
            throw ReaderException("Unsupported checkpoint type.", Steps::kSourceFile,
                                  kLineUnsupportedCheckpoint, "operator ()");
        },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_CONFIGURABLE));
}

void Reader::WriteUserDefaultsToReader() const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::WriteUserDefaultsToReader",
        [&]
        {
            return scope.Facade()->CopyConfiguration(PyxProtocol::ConfigurationLocation::Stored1,
                                                     PyxProtocol::ConfigurationLocation::Stored2, 0, 0);
        },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_CONFIGURABLE));
}

void Reader::GetSupportedCardTypes(std::vector<PyxCommon::CardType>& cardTypes) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    std::vector<std::uint16_t> codes;
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::GetSupportedCardTypes", [&] { return scope.Facade()->GetSupportedCards(codes); },
        scope.Profile(), ReaderCapabilitySet{});
    cardTypes.clear();
    const PyxCommon::CardTypeResolver& resolver = PyxCommon::CardTypeResolver::GetInstance();
    for (const std::uint16_t code : codes)
    {
        // An untracked code throws here; the types resolved before it stay in the list.
        const std::vector<PyxCommon::CardType> resolved = resolver.ResolveSupportedCardType(code);
        cardTypes.insert(cardTypes.end(), resolved.begin(), resolved.end());
    }
}

void Reader::ReadSmartCardConfigurationFromReader(PyxCommon::SmartCardConfiguration& configuration) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    const PyxCommon::BlobHeader header = configuration.GetHeader();
    std::vector<std::uint8_t> data;
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::ReadSmartCardConfigurationFromReader",
        [&] { return scope.Facade()->GetBlob(header, data); }, scope.Profile(),
        Steps::Requiring(Capability::READER_CAPABILITY_SMART_CARD));
    // The reader sends whole phrases; what follows the blob's own length is padding, not blob data.
    if (data.size() > header.DataLength)
    {
        data.resize(header.DataLength);
    }
    configuration.SetConfiguration(header, data);
}

void Reader::AnalyzeCard(CardAnalyzerCallback* /*callback*/) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::AnalyzeCard",
        []() -> ProtocolCommandResult
        {
            throw ReaderException("This function is not yet implemented.", Steps::kSourceFile,
                                  kLineAnalyzeCardNotImplemented, "operator ()");
        },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_CARD_ANALYZER));
}

void Reader::ConfigureBaudRate(PyxCommon::SerialPortBaudRate /*baudRate*/) const
{
    const std::lock_guard sequence(SequenceMutex());
    const OperationScope scope(*this);
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::ConfigureBaudRate",
        []() -> ProtocolCommandResult
        {
            throw ReaderException("This function is not yet implemented.", Steps::kSourceFile,
                                  kLineBaudRateNotImplemented, "operator ()");
        },
        scope.Profile(), Steps::Requiring(Capability::READER_CAPABILITY_BAUD_RATE));
}
} // namespace Pyx
