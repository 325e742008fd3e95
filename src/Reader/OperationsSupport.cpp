#include "OperationsSupport.h"

#include <mutex>
#include <utility>

#include "Exceptions/TessmarException.h"
#include "Reader/ReaderException.h"
#include "ReaderConfigurationConversion.h"
#include "ReaderLog.h"
#include "Utilities/CapabilityGuard.h"

namespace Pyx
{
namespace
{
constexpr int kLineKeystrokingUnsupported = 344;

std::mutex delayMakerMutex;
std::function<std::unique_ptr<PyxCommon::TimeDelay>()> delayMaker;
} // namespace

ReaderCapabilitySet OperationsSupport::Requiring(ReaderCapability capability)
{
    ReaderCapabilitySet set;
    set.WithRequiredCapability(capability);
    return set;
}

ProtocolCommandResult OperationsSupport::Store(PyxProtocol::ProtocolFacade& facade)
{
    constexpr std::uint8_t kActiveConfigurationOnly = 1;
    return facade.WriteConfiguration(kActiveConfigurationOnly);
}

void OperationsSupport::ReadConfiguration(PyxProtocol::ProtocolFacade& facade,
                                          const ReaderCapabilityProfile& profile, std::uint8_t configuration,
                                          PyxCommon::ReaderConfiguration& readerConfiguration,
                                          PyxCommon::ExtendedConfiguration& extendedConfiguration)
{
    const bool extended = profile.HasCapability(ReaderCapability::READER_CAPABILITY_EXTENDED_CONFIGURATION);
    PyxProtocol::ReaderConfiguration blocks{};
    PyxCommon::ExtendedConfiguration freshExtended{};
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::GetReaderConfiguration",
        [&]
        {
            PYX_STEP(facade.SetActiveConfiguration(configuration));
            PYX_STEP(facade.GetConfiguration(configuration, blocks));
            return extended ? facade.GetExtendedConfiguration(freshExtended) : Succeeded();
        },
        profile, Requiring(ReaderCapability::READER_CAPABILITY_CONFIGURABLE));
    // Converted into a fresh record, so a value the setters refuse leaves the caller's records untouched;
    // it starts with the caller's two settings that no block carries.
    PyxCommon::ReaderConfiguration fresh = SettingsWithoutBlockMember(readerConfiguration);
    ApplyConfigurationBlocks(blocks, fresh);
    readerConfiguration = fresh;
    if (extended)
    {
        extendedConfiguration = freshExtended;
    }
}

void OperationsSupport::WriteConfiguration(PyxProtocol::ProtocolFacade& facade,
                                           const ReaderCapabilityProfile& profile,
                                           const ReaderMetadataStruct& metadata, std::uint8_t configuration,
                                           const PyxCommon::ReaderConfiguration& readerConfiguration,
                                           const PyxCommon::ExtendedConfiguration& extendedConfiguration,
                                           const PyxCommon::HashData& hashData)
{
    PyxProtocol::ReaderConfiguration blocks = ToConfigurationBlocks(readerConfiguration);
    if (blocks.Block1.DisableKeystroking == 0 &&
        !profile.HasCapability(ReaderCapability::READER_CAPABILITY_KEYSTROKING))
    {
        throw ReaderException(
            "Cannot enable keystroking on this reader. The reader does not support keystroking "
            "(READER_CAPABILITY_KEYSTROKING).",
            kSourceFile, kLineKeystrokingUnsupported, "SetReaderConfiguration");
    }
    ExecuteWithCapabilityCheck(
        "Pyx::Reader::SetReaderConfiguration",
        [&]
        {
            PYX_STEP(facade.SetActiveConfiguration(configuration));
            ApplyReaderOwnedSettings(blocks, metadata);
            PYX_STEP(facade.SetConfiguration(configuration, blocks));
            if (profile.HasCapability(ReaderCapability::READER_CAPABILITY_EXTENDED_CONFIGURATION))
            {
                try
                {
                    extendedConfiguration.Validate();
                    PYX_STEP(facade.SetExtendedConfiguration(extendedConfiguration, hashData));
                }
                catch (const TessmarException&)
                {
                    Log().Warn(kReaderTag, "Extended configuration skipped due to invalid data.");
                }
            }
            return Store(facade);
        },
        profile, Requiring(ReaderCapability::READER_CAPABILITY_CONFIGURABLE));
}

void SetReaderOperationDelayMaker(std::function<std::unique_ptr<PyxCommon::TimeDelay>()> maker)
{
    const std::lock_guard lock(delayMakerMutex);
    delayMaker = std::move(maker);
}

std::unique_ptr<PyxCommon::TimeDelay> MakeReaderOperationDelay()
{
    const std::lock_guard lock(delayMakerMutex);
    return delayMaker ? delayMaker() : std::make_unique<PyxCommon::TimeDelay>();
}
} // namespace Pyx
