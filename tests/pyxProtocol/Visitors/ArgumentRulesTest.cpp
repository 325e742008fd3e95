#include <gtest/gtest.h>

#include "VisitorFactories.h"
#include "VisitorTestSupport.h"

// The argument rules of the simple operations at their boundaries, and which rule wins when several fail.
// "sent" means the rules let the operation through to the transport; a refusal touches no transport.
namespace PyxTest
{
namespace
{
using namespace PyxProtocol;

std::string RuleOutcome(On on, CommandVisitor& visitor)
{
    ScriptedTransport transport;
    const std::string failure = DispatchFailure(on, visitor, transport);
    return transport.Calls().empty() ? failure : "sent";
}

struct Case
{
    std::string name;
    On on;
    VisitorFactory make;
    std::string outcome;
};

template <typename Visitor, typename... Args> VisitorFactory Make(Args... args)
{
    return [=] { return std::make_unique<Visitor>(args...); };
}

const auto kLong = BEEP_DURATION::BEEP_LONG;
const auto kShort = BEEP_DURATION::BEEP_SHORT;
const auto kOtherDuration = static_cast<BEEP_DURATION>(7); // any value but 1 is short

const std::string kLongBeeps =
    "BeepVisitor.cpp ValidateArguments: When creating long beeps, only 1 or 2 beeps are allowed.";
const std::string kTooMany =
    "BeepVisitor.cpp ValidateArguments: Only up to 5 short beeps, or 2 long beeps, can be produced.";
const std::string kNoBeeps = "BeepVisitor.cpp ValidateArguments: A count of 0 beeps does not make sense.";

std::string ModuleTypeRefusal(const std::string& visitor)
{
    return visitor + ".cpp ValidateArguments: Module type must be specified";
}

const std::string kSameCopy = "CopyConfigurationVisitor.cpp ValidateArguments: Source and destination for "
                              "CopyConfiguration command cannot be the same.";
const std::string kToDefaults =
    "CopyConfigurationVisitor.cpp ValidateArguments: Destination for CopyConfiguration "
    "command cannot be FactoryDefaults.";
const std::string kDefaultsToRam =
    "CopyConfigurationVisitor.cpp ValidateArguments: Factory Defaults configuration cannot be copied to RAM.";

VisitorFactory Copy(int source, int destination)
{
    return [=]
    {
        return std::make_unique<CopyConfigurationVisitor>(static_cast<ConfigurationLocation>(source),
                                                          static_cast<ConfigurationLocation>(destination), 0,
                                                          0, NoWait());
    };
}

VisitorFactory ModuleState(ReaderModuleAction action, int module, int state)
{
    return Make<ConfigureModuleStateVisitor>(action, static_cast<ReaderModuleId>(module),
                                             static_cast<ReaderModuleState>(state));
}

VisitorFactory Blob(std::uint16_t headerLength, std::size_t dataLength)
{
    return [=]
    { return std::make_unique<SetBlobVisitor>(BlobHeaderOf(headerLength), Bytes(dataLength, 1), NoWait()); };
}

// clang-format off
const std::vector<Case> kCases = {
    {"two long beeps",           On::FeatureReport, Make<BeepVisitor>(2, kLong), "sent"},
    {"three long beeps",         On::FeatureReport, Make<BeepVisitor>(3, kLong), kLongBeeps},
    {"255 long beeps",           On::SerialBinary,  Make<BeepVisitor>(255, kLong), kLongBeeps},
    {"five short beeps",         On::Mfp24,         Make<BeepVisitor>(5, kShort), "sent"},
    {"six short beeps",          On::FeatureReport, Make<BeepVisitor>(6, kShort), kTooMany},
    {"six beeps, other length",  On::FeatureReport, Make<BeepVisitor>(6, kOtherDuration), kTooMany},
    {"no short beep",            On::SerialBinary,  Make<BeepVisitor>(0, kShort), kNoBeeps},
    {"no long beep",             On::Mfp24,         Make<BeepVisitor>(0, kLong), kNoBeeps},

    {"bluetooth module 254",     On::Mfp24,         Make<GetBluetoothFirmwareVersionVisitor>(static_cast<FirmwareVersionModuleType>(254)), "sent"},
    {"bluetooth unspecified",    On::FeatureReport, Make<GetBluetoothFirmwareVersionVisitor>(FirmwareVersionModuleType::NotSpecified),
                                                    ModuleTypeRefusal("GetBluetoothFirmwareVersionVisitor")},
    {"control module 254",       On::SerialBinary,  Make<GetControlFirmwareVersionVisitor>(static_cast<FirmwareVersionModuleType>(254)), "sent"},
    {"control unspecified",      On::SerialBinary,  Make<GetControlFirmwareVersionVisitor>(FirmwareVersionModuleType::NotSpecified),
                                                    ModuleTypeRefusal("GetControlFirmwareVersionVisitor")},
    {"radio unspecified",        On::FeatureReport, Make<GetRadioFirmwareVersionVisitor>(FirmwareVersionModuleType::NotSpecified),
                                                    ModuleTypeRefusal("GetRadioFirmwareVersionVisitor")},
    {"SAM module unchecked",     On::FeatureReport, Make<GetSamFirmwareVersionVisitor>(FirmwareVersionModuleType::NotSpecified), "sent"},

    {"card size 0",              On::FeatureReport, Make<GetCardReadPayloadVisitor>(static_cast<GetCardDataSizeParameters>(0)),
                                                    "GetCardReadPayloadVisitor.cpp ValidateArguments: Size parameter must be between 0x01 and 0x02"},
    {"card size 2",              On::SerialBinary,  Make<GetCardReadPayloadVisitor>(static_cast<GetCardDataSizeParameters>(2)), "sent"},
    {"card size 3",              On::SerialBinary,  Make<GetCardReadPayloadVisitor>(static_cast<GetCardDataSizeParameters>(3)),
                                                    "GetCardReadPayloadVisitor.cpp ValidateArguments: Size parameter must be between 0x01 and 0x02"},

    {"string index 0",           On::FeatureReport, Make<GetStringVisitor>(static_cast<GetStringIndex>(0)),
                                                    "GetStringVisitor.cpp ValidateArguments: Invalid GetStringIndex value: 0"},
    {"string index 1",           On::FeatureReport, Make<GetStringVisitor>(static_cast<GetStringIndex>(1)), "sent"},
    {"string index 8",           On::SerialBinary,  Make<GetStringVisitor>(static_cast<GetStringIndex>(8)), "sent"},
    {"string index 9",           On::SerialBinary,  Make<GetStringVisitor>(static_cast<GetStringIndex>(9)),
                                                    "GetStringVisitor.cpp ValidateArguments: Invalid GetStringIndex value: 9"},
    {"string index 200",         On::FeatureReport, Make<GetStringVisitor>(static_cast<GetStringIndex>(200)),
                                                    "GetStringVisitor.cpp ValidateArguments: Invalid GetStringIndex value: 200"},

    {"configuration 3",          On::FeatureReport, Make<SetActiveConfigurationVisitor>(std::uint8_t{3}), "sent"},
    {"configuration 4",          On::SerialBinary,  Make<SetActiveConfigurationVisitor>(std::uint8_t{4}),
                                                    "SetActiveConfigurationVisitor.cpp ValidateArguments: Configuration number must be between 0 and 3."},
    {"volume 3",                 On::Mfp24,         Make<SetBeeperVolumeVisitor>(BeepVolume::VOLUME_3), "sent"},
    {"volume 4",                 On::Mfp24,         Make<SetBeeperVolumeVisitor>(static_cast<BeepVolume>(4)),
                                                    "SetBeeperVolumeVisitor.cpp ValidateArguments: Beep volume is out of range"},
    {"write LUID 0",             On::FeatureReport, Make<WriteConfigurationVisitor>(std::uint8_t{0}), "sent"},
    {"write LUID 2, FR",         On::FeatureReport, Make<WriteConfigurationVisitor>(std::uint8_t{2}),
                                                    "WriteConfigurationVisitor.cpp ValidateArguments: WriteLuidToFlash parameter value must be 0 or 1."},
    {"write LUID 2, SB",         On::SerialBinary,  Make<WriteConfigurationVisitor>(std::uint8_t{2}),
                                                    "WriteConfigurationVisitor.cpp ValidateArguments: WriteLuidToFlash parameter value must be 0 or 1."},

    {"empty blob, length 0",     On::FeatureReport, Blob(0, 0), "sent"},
    {"empty blob, length 1",     On::FeatureReport, Blob(1, 0),
                                                    "SetBlobVisitor.cpp ValidateArguments: Blob data length does not match with datalength in header"},
    {"blob longer than header",  On::FeatureReport, Blob(5, 6),
                                                    "SetBlobVisitor.cpp ValidateArguments: Blob data length does not match with datalength in header"},
    {"blob length 65536 vs 0",   On::FeatureReport, Blob(0, 65536),
                                                    "SetBlobVisitor.cpp ValidateArguments: Blob data length does not match with datalength in header"},

    {"module 0, any state",      On::FeatureReport, ModuleState(ReaderModuleAction::Set, 0, 0),
                                                    "ConfigureModuleStateVisitor.cpp ValidateArguments: Invalid ModuleId."},
    {"module 0 on get",          On::FeatureReport, ModuleState(ReaderModuleAction::Get, 0, 5),
                                                    "ConfigureModuleStateVisitor.cpp ValidateArguments: Invalid ModuleId."},
    {"set state 0",              On::FeatureReport, ModuleState(ReaderModuleAction::Set, 2, 0),
                                                    "ConfigureModuleStateVisitor.cpp ValidateArguments: Invalid ReaderModuleState."},
    // A query sends no state, so the caller's state argument is not required to name one.
    {"get with state 0",         On::FeatureReport, ModuleState(ReaderModuleAction::Get, 2, 0), "sent"},

    {"copy 3 to 3, Mfp24",       On::Mfp24,         Copy(3, 3), kSameCopy},
    {"copy 1 to 3, SB",          On::SerialBinary,  Copy(1, 3), kToDefaults},
    {"copy 3 to 0, Mfp24",       On::Mfp24,         Copy(3, 0), kDefaultsToRam},
    {"copy 3 to 0, SB",          On::SerialBinary,  Copy(3, 0), kDefaultsToRam},
    {"copy 3 to 3, FR",          On::FeatureReport, Copy(3, 3),
                                                    "CopyConfigurationVisitor.cpp ValidateArgumentsForFeatureReportProtocol: Source and destination for CopyConfiguration command cannot be the same."},
    {"copy 0 to 3, FR",          On::FeatureReport, Copy(0, 3),
                                                    "CopyConfigurationVisitor.cpp ValidateArgumentsForFeatureReportProtocol: Destination for CopyConfiguration command cannot be FactoryDefaults."},
    {"copy 3 to 0, FR",          On::FeatureReport, Copy(3, 0), "sent"},
    {"copy 3 to 1, SB",          On::SerialBinary,  Copy(3, 1), "sent"},
};
// clang-format on

TEST(ArgumentRules, BoundariesAndFirstFailureOrder)
{
    for (const Case& c : kCases)
    {
        auto visitor = c.make();
        EXPECT_EQ(RuleOutcome(c.on, *visitor), c.outcome) << c.name;
    }
}

TEST(ArgumentRules, RuleFailuresAreProtocolExceptionsFromTheVisitorsOwnFile)
{
    BeepVisitor visitor(0, kShort);
    try
    {
        visitor.ValidateArguments();
        FAIL() << "no exception";
    }
    catch (const ProtocolException& e)
    {
        EXPECT_EQ(e.GetFileName(), "BeepVisitor.cpp");
        EXPECT_EQ(e.GetFunctionName(), "ValidateArguments");
        EXPECT_GT(e.GetLineNumber(), 0);
        EXPECT_EQ(e.GetExceptionType(), "TessmarException");
    }
}

// The visitors whose arguments are passed through unchecked accept any value.
TEST(ArgumentRules, UncheckedArgumentsPassThrough)
{
    SetLuidVisitor luid(0xFFFF);
    EXPECT_EQ(RuleOutcome(On::FeatureReport, luid), "sent");
    GetQueuedIdVisitor queued(static_cast<QueuedIdFlagParameters>(0xFF));
    EXPECT_EQ(RuleOutcome(On::SerialBinary, queued), "sent");
    EnableTransparentModeVisitor transparent(false);
    EXPECT_EQ(RuleOutcome(On::FeatureReport, transparent), "sent");
}
} // namespace
} // namespace PyxTest
