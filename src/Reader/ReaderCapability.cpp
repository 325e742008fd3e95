#include "Reader/ReaderCapability.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "Reader/ReaderCapabilityProfile.h"

namespace Pyx
{
namespace
{
constexpr std::array<const char*, 25> kCapabilityNames{
    "READER_CAPABILITY_UNKNOWN",
    "READER_CAPABILITY_BEEPER",
    "READER_CAPABILITY_TRANSPARENT_MODE",
    "READER_CAPABILITY_SMART_CARD",
    "READER_CAPABILITY_BLUETOOTH",
    "READER_CAPABILITY_HID_MOBILE",
    "READER_CAPABILITY_FINGERPRINT",
    "READER_CAPABILITY_HID_SE",
    "READER_CAPABILITY_NXP_SE",
    "READER_CAPABILITY_FELICA",
    "READER_CAPABILITY_LEGIC",
    "READER_CAPABILITY_QUEUED_CARD_DATA",
    "READER_CAPABILITY_EXTENDED_CONFIGURATION",
    "READER_CAPABILITY_CARD_ANALYZER",
    "READER_CAPABILITY_MIFARE_WRITER",
    "READER_CAPABILITY_MODULE_CONTROL",
    "READER_CAPABILITY_FIRMWARE_UPGRADE",
    "READER_CAPABILITY_COPY_CONFIGURATION",
    "READER_CAPABILITY_BAUD_RATE",
    "READER_CAPABILITY_LUID",
    "READER_CAPABILITY_LED_CONFIGURATION",
    "READER_CAPABILITY_CONFIGURATION_BLOCK_5",
    "READER_CAPABILITY_SYSTEM_UPTIME",
    "READER_CAPABILITY_KEYSTROKING",
    "READER_CAPABILITY_CONFIGURABLE",
};

// Index of the installed flag of the "RF Legic" module within InstalledHardware.
constexpr std::size_t kLegicInstalledFlag = 13;

// A metadata text up to its zero byte (the record's texts always have one).
template <std::size_t N> std::string Text(const char (&field)[N])
{
    return std::string(field, std::find(field, field + N, '\0'));
}
} // namespace

const char* ReaderCapabilityToString(ReaderCapability capability)
{
    const auto index = static_cast<std::size_t>(capability);
    return index < kCapabilityNames.size() ? kCapabilityNames[index] : "unknown";
}

ReaderCapabilitySet& ReaderCapabilitySet::WithRequiredCapability(ReaderCapability capability)
{
    if (std::find(required_.begin(), required_.end(), capability) == required_.end())
    {
        required_.push_back(capability);
    }
    return *this;
}

CapabilityRule::~CapabilityRule() = default;

bool CapabilityRule::Evaluate() const
{
    return true;
}

bool ConfigurationBlock5CapabilityRule::Evaluate() const
{
    if (Metadata().ReaderString7Present == 0)
    {
        return true;
    }
    std::string text = Text(Metadata().ReaderString7);
    for (char& c : text)
    {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text.find("p35") == std::string::npos;
}

bool ExtendedConfigurationCapabilityRule::Evaluate() const
{
    return Metadata().ExtendedOutputCapable != 0;
}

bool KeystrokingCapabilityRule::Evaluate() const
{
    if (Metadata().PartNumberPresent == 0)
    {
        return true;
    }
    const std::string partNumber = Text(Metadata().PartNumber);
    if (partNumber.empty())
    {
        return true;
    }
    // The model prefix runs up to the second dash (ABC-2123-X gives ABC-2123), else it is the whole text.
    std::size_t prefixLength = partNumber.size();
    const std::size_t firstDash = partNumber.find('-');
    if (firstDash != std::string::npos && firstDash + 1 < partNumber.size())
    {
        const std::size_t secondDash = partNumber.find('-', firstDash + 1);
        if (secondDash != std::string::npos)
        {
            prefixLength = secondDash;
        }
    }
    return !(prefixLength >= 4 && partNumber[prefixLength - 4] == '2');
}

bool TransparentModeCapabilityRule::Evaluate() const
{
    return Metadata().InstalledHardware[kLegicInstalledFlag] != 0 && Metadata().TransparentModeReported != 0;
}

ReaderCapabilityProfile::ReaderCapabilityProfile(const ReaderMetadataStruct& metadata,
                                                 std::mutex* metadataMutex)
    : metadata_(metadata), metadataMutex_(metadataMutex)
{
}

ReaderCapabilityProfile::~ReaderCapabilityProfile() = default;

bool ReaderCapabilityProfile::HasCapability(ReaderCapability capability) const
{
    const auto found = rules_.find(capability);
    if (found == rules_.end())
    {
        return false;
    }
    if (metadataMutex_ == nullptr)
    {
        return found->second->Evaluate();
    }
    std::lock_guard lock(*metadataMutex_);
    return found->second->Evaluate();
}

bool ReaderCapabilityProfile::IsCapableOf(const ReaderCapabilitySet& required) const
{
    for (const ReaderCapability capability : required.GetRequiredCapabilities())
    {
        if (!HasCapability(capability))
        {
            return false;
        }
    }
    return true;
}

std::vector<ReaderCapability>
ReaderCapabilityProfile::GetUnsupportedCapabilities(const ReaderCapabilitySet& required) const
{
    std::vector<ReaderCapability> unsupported;
    for (const ReaderCapability capability : required.GetRequiredCapabilities())
    {
        if (!HasCapability(capability))
        {
            unsupported.push_back(capability);
        }
    }
    return unsupported;
}

void ReaderCapabilityProfile::RegisterRule(ReaderCapability capability, std::unique_ptr<CapabilityRule> rule)
{
    rules_[capability] = std::move(rule);
}

void ReaderCapabilityProfile::ClearRules()
{
    rules_.clear();
}

DefaultReaderCapabilityProfile::DefaultReaderCapabilityProfile(const ReaderMetadataStruct& metadata,
                                                               PyxProtocol::ProtocolFacade* facade,
                                                               std::mutex* metadataMutex)
    : ReaderCapabilityProfile(metadata, metadataMutex),
      dataProvider_(std::make_unique<DefaultCapabilityDataProvider>(facade))
{
    using enum ReaderCapability;
    RegisterRule(READER_CAPABILITY_BAUD_RATE, std::make_unique<BaudRateCapabilityRule>(metadata));
    RegisterRule(READER_CAPABILITY_CONFIGURATION_BLOCK_5,
                 std::make_unique<ConfigurationBlock5CapabilityRule>(metadata));
    RegisterRule(READER_CAPABILITY_KEYSTROKING, std::make_unique<KeystrokingCapabilityRule>(metadata));
    for (const ReaderCapability capability :
         {READER_CAPABILITY_BEEPER, READER_CAPABILITY_SMART_CARD, READER_CAPABILITY_BLUETOOTH,
          READER_CAPABILITY_HID_MOBILE, READER_CAPABILITY_HID_SE, READER_CAPABILITY_NXP_SE,
          READER_CAPABILITY_FELICA, READER_CAPABILITY_LEGIC})
    {
        RegisterRule(capability, std::make_unique<CapabilityRule>(metadata));
    }
    RegisterRule(READER_CAPABILITY_TRANSPARENT_MODE,
                 std::make_unique<TransparentModeCapabilityRule>(metadata));
    for (const ReaderCapability capability :
         {READER_CAPABILITY_FINGERPRINT, READER_CAPABILITY_QUEUED_CARD_DATA, READER_CAPABILITY_SYSTEM_UPTIME,
          READER_CAPABILITY_CONFIGURABLE, READER_CAPABILITY_MIFARE_WRITER, READER_CAPABILITY_MODULE_CONTROL,
          READER_CAPABILITY_FIRMWARE_UPGRADE, READER_CAPABILITY_COPY_CONFIGURATION, READER_CAPABILITY_LUID,
          READER_CAPABILITY_LED_CONFIGURATION})
    {
        RegisterRule(capability, std::make_unique<CapabilityRule>(metadata));
    }
    RegisterRule(READER_CAPABILITY_EXTENDED_CONFIGURATION,
                 std::make_unique<ExtendedConfigurationCapabilityRule>(metadata));
}

DefaultReaderCapabilityProfile::~DefaultReaderCapabilityProfile() = default;
} // namespace Pyx
