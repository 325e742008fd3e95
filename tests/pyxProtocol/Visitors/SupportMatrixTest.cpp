#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "VisitorFactories.h"
#include "VisitorTestSupport.h"

// Every operation on every protocol: a served one starts its own command's exchange (its first request is
// checked by its leading bytes), a refused one throws its own text from Visit with the transport untouched.
namespace PyxTest
{
namespace
{
const std::string RM = "This command is not yet supported with the MFP24 Protocol";
const std::string RS = "This command is not yet supported with the Serial Binary Protocol";

struct Cell
{
    bool served;
    Bytes leading;       // first request, leading bytes
    std::string refusal; // when not served
};

Bytes Hex(const std::string& text)
{
    std::istringstream in(text);
    Bytes bytes;
    std::string byte;
    while (in >> byte)
    {
        bytes.push_back(static_cast<std::uint8_t>(std::strtoul(byte.c_str(), nullptr, 16)));
    }
    return bytes;
}

Cell Sends(const std::string& hex)
{
    return {true, Hex(hex), ""};
}

Cell SendsLine(const std::string& text)
{
    return {true, Bytes(text.begin(), text.end()), ""};
}

Cell Refused(const std::string& text)
{
    return {false, {}, text};
}

struct Row
{
    std::string operation;
    Cell featureReport;
    Cell mfp24;
    Cell serialBinary;
};

// clang-format off
const Row kMatrix[] = {
    {"Beep",                        Sends("8C 03 02"), SendsLine("BS2"),  Sends("FA 0C 03 02 00")},
    {"GetActiveConfiguration",      Sends("89 01"),    Refused("GetActiveConfiguration is not supported by the MFP24 protocol."),
                                                                          Sends("FA 09 01 00 00")},
    {"GetBeeperVolume",             Sends("8C 06"),    Refused(RM),       Sends("FA 0C 06 00 00")},
    {"GetTransparentModeStatus",    Sends("8C 00"),    Refused(RM),       Refused(RS)},
    {"EnableTransparentMode",       Sends("8C 80 01"), Refused(RM),       Refused(RS)},
    {"GetBluetoothFirmwareVersion", Sends("89 03 02 00"), SendsLine("QSX05"), Refused(RS)},
    {"GetCardReadPayload",          Sends("8E 00"),    Refused(RM),       Sends("FA 00 00 00 0C")},
    {"GetConfigurationBlock1",      Sends("80 00"),    Refused(RM),       Sends("FA 01 00 00 08")},
    {"GetConfigurationBlock2",      Sends("81 00"),    Refused(RM),       Sends("FA 01 01 00 08")},
    {"GetConfigurationBlock3",      Sends("82 00"),    Refused(RM),       Sends("FA 01 02 00 08")},
    {"GetConfigurationBlock4",      Sends("83 00"),    Refused(RM),       Sends("FA 01 03 00 08")},
    {"GetConfigurationBlock5",      Sends("84 00"),    Refused(RM),       Sends("FA 01 04 00 08")},
    {"GetControlFirmwareVersion",   Sends("89 03 00 00"), Refused(RM),    Sends("FA 09 03 00 00")},
    {"GetRadioFirmwareVersion",     Sends("89 03 01 00"), Refused(RM),    Sends("FA 09 03 01 00")},
    {"GetSamFirmwareVersion",       Sends("89 03 04 00"), Refused(RM),    Refused(RS)},
    {"GetESN",                      Sends("8C 05"),    Refused(RM),       Sends("FA 08 00 00 00")},
    {"GetPartNumber",               Sends("8C 01"),    SendsLine("QRZ01"), Sends("FA 0C 01 00 00")},
    {"GetString",                   Sends("8C 04 01"), Refused(RM),       Sends("FA 0C 04 01 00")},
    {"GetInstalledHardware",        Sends("89 05"),    SendsLine("QSX07"), Sends("FA 09 05 00 00")},
    {"GetLuid",                     Sends("8A 00"),    Refused(RM),       Sends("FA 05 00 00 08")},
    {"SetLuid",                     Sends("8A 00"),    Refused(RM),       Sends("FA 06 00 00 02")},
    {"GetQueuedId",                 Sends("8C 02"),    Refused(RM),       Sends("FA 0C 02 00 00")},
    {"GetSupportedCards",           Sends("89 04"),    SendsLine("QCT00"), Sends("FA 09 04 00 00")},
    {"GetCardAnalyzerStatus",       Sends("8C 08"),    Refused(RM),       Sends("FA 0C 08 00 00")},
    {"ConfigureModuleState",        Sends("8C 0B 02 03 01"), Refused(RM), Refused(RS)},
    {"SetBeeperVolume",             Sends("8C 86 02"), SendsLine("BV2"),  Sends("FA 0C 86 02 00")},
    {"SetActiveConfiguration",      Sends("89 81 01"), Refused("SetActiveConfiguration is not supported by MFP24."),
                                                                          Sends("FA 09 81 01 00")},
    {"WriteConfiguration",          Sends("90 00"),    Refused(RM),       Sends("FA 02 80 00 00")},
    {"LoadStoredDefaults",          Sends("A0 00"),    Refused(RM),       Sends("FA 03 00 00 00")},
    {"CopyConfiguration",           Sends("89 82 01 00"), SendsLine("FR"), Sends("FA 09 82 01 00")},
    {"SetConfigurationBlock1",      Sends("80 00"),    Refused(RM),       Sends("FA 81 00 00 08")},
    {"SetConfigurationBlock2",      Sends("81 00"),    Refused(RM),       Sends("FA 81 01 00 08")},
    {"SetConfigurationBlock3",      Sends("82 00"),    Refused(RM),       Sends("FA 81 02 00 08")},
    {"SetConfigurationBlock4",      Sends("83 00"),    Refused(RM),       Sends("FA 81 03 00 08")},
    {"SetConfigurationBlock5",      Sends("84 00"),    Refused(RM),       Sends("FA 81 04 00 08")},
    {"GetExtendedConfiguration",    Sends("85 00 00 10"), Refused(RM),    Sends("FA 0A 00 00 08")},
    {"SetExtendedConfiguration",    Sends("85 00 00 10"), Refused(RM),    Sends("FA 8A 00 00 80")},
    {"GetBlob",                     Sends("89 10 00 00 21"), Refused(RM), Refused(RS)},
    {"SetBlob",                     Sends("89 90 00 00 21"), Refused(RM), Refused(RS)},
    {"GetBleBlob",                  Sends("89 10 00 00 10"), Refused("GetBleBlob command is not supported with the MFP24 Protocol"),
                                                                          Refused("GetBleBlob command is not supported with the Serial Binary Protocol")},
    {"SetBleBlob",                  Sends("89 90 00 00 11"), Refused(RM), Refused(RS)},
};
// clang-format on

TEST(SupportMatrix, EachOperationRunsOrIsRefusedWithItsOwnTextBeforeAnyTransportCall)
{
    const auto operations = AllOperations();
    ASSERT_EQ(operations.size(), std::size(kMatrix));
    for (std::size_t i = 0; i < operations.size(); ++i)
    {
        const Row& row = kMatrix[i];
        ASSERT_EQ(operations[i].operation, row.operation);
        for (const auto& [on, cell] :
             {std::pair{On::FeatureReport, row.featureReport}, std::pair{On::Mfp24, row.mfp24},
              std::pair{On::SerialBinary, row.serialBinary}})
        {
            SCOPED_TRACE(row.operation + " on " + Name(on));
            ScriptedTransport transport;
            auto visitor = operations[i].make();
            const std::string failure = DispatchFailure(on, *visitor, transport);
            if (!cell.served)
            {
                EXPECT_EQ(failure, row.operation + "Visitor.cpp Visit: " + cell.refusal);
                EXPECT_TRUE(transport.Calls().empty());
                continue;
            }
            // With no reply queued a served operation ends at its first read, or succeeds when it reads none.
            EXPECT_TRUE(failure.empty() || failure.starts_with("ScriptedTransport.cpp receive:")) << failure;
            const auto sent = transport.Transmitted();
            ASSERT_FALSE(sent.empty());
            ASSERT_GE(sent[0].size(), cell.leading.size());
            EXPECT_EQ(
                Bytes(sent[0].begin(), sent[0].begin() + static_cast<std::ptrdiff_t>(cell.leading.size())),
                cell.leading);
        }
    }
}

// A refusal comes before the argument rules: a refused operation with bad arguments reports the refusal.
TEST(SupportMatrix, RefusalComesBeforeArgumentRules)
{
    using namespace PyxProtocol;
    ScriptedTransport transport;
    GetStringVisitor badIndex(static_cast<GetStringIndex>(0));
    EXPECT_EQ(DispatchFailure(On::Mfp24, badIndex, transport), "GetStringVisitor.cpp Visit: " + RM);
    ConfigureModuleStateVisitor badModule(ReaderModuleAction::Set, ReaderModuleId::Invalid,
                                          ReaderModuleState::Invalid);
    EXPECT_EQ(DispatchFailure(On::SerialBinary, badModule, transport),
              "ConfigureModuleStateVisitor.cpp Visit: " + RS);
    SetActiveConfigurationVisitor badNumber(9);
    EXPECT_EQ(DispatchFailure(On::Mfp24, badNumber, transport),
              "SetActiveConfigurationVisitor.cpp Visit: SetActiveConfiguration is not supported by MFP24.");
    EXPECT_TRUE(transport.Calls().empty());
}
} // namespace
} // namespace PyxTest
