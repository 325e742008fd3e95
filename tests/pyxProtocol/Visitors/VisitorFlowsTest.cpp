#include <gtest/gtest.h>

#include <numeric>

#include "TransportException.h"
#include "VisitorFactories.h"
#include "VisitorTestSupport.h"

// The operations whose visit does more than run one command: the two-command card read, the secure-module
// versions decoded three ways, the wait after a SerialBinary reload, and the visitors that shape what their
// command gets.
namespace PyxTest
{
namespace
{
using namespace PyxProtocol;
using Op = ScriptedTransport::Operation;

Bytes Counting(std::size_t length, std::uint8_t first)
{
    Bytes bytes(length);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

Bytes PayloadBytes(const CardReadPayload& payload)
{
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&payload);
    return Bytes(raw, raw + sizeof(payload));
}

Bytes Payload(std::uint8_t bitCount, const Bytes& data)
{
    Bytes bytes(sizeof(CardReadPayload), 0);
    bytes[0] = bitCount;
    std::copy(data.begin(), data.end(), bytes.begin() + 1);
    return bytes;
}

TEST(CardReadPayload, FeatureReportReadsTheBitCountThenTheData)
{
    ScriptedTransport transport;
    transport.QueueReply({0x1A, 0, 0, 0, 0, 0, 0, 0});
    for (std::uint8_t page = 0; page < 4; ++page)
    {
        transport.QueueReply(Counting(8, static_cast<std::uint8_t>(0x10 + 8 * page)));
    }
    GetCardReadPayloadVisitor visitor(GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES);
    Dispatch(On::FeatureReport, visitor, transport);
    EXPECT_EQ(PayloadBytes(visitor.GetResult()), Payload(0x1A, Counting(32, 0x10)));
    const auto sent = transport.Transmitted();
    ASSERT_EQ(sent.size(), 5u);
    EXPECT_EQ(sent[0], (Bytes{0x8E, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(transport.PendingReplies(), 0u);
}

TEST(CardReadPayload, ShortReadLeavesTheRestOfTheDataZero)
{
    ScriptedTransport transport;
    transport.QueueReplies({{0x22, 0, 0, 0, 0, 0, 0, 0}, Counting(8, 0xA0)});
    GetCardReadPayloadVisitor visitor(GetCardDataSizeParameters::CARD_DATA_SIZE_8_BYTES);
    Dispatch(On::FeatureReport, visitor, transport);
    EXPECT_EQ(PayloadBytes(visitor.GetResult()), Payload(0x22, Counting(8, 0xA0)));
}

// A data read that fails must not leave a bit count of one card with data of none (or of the last one).
TEST(CardReadPayload, FailedDataReadKeepsThePreviousPayload)
{
    GetCardReadPayloadVisitor visitor(GetCardDataSizeParameters::CARD_DATA_SIZE_8_BYTES);
    ScriptedTransport first;
    first.QueueReplies({{0x22, 0, 0, 0, 0, 0, 0, 0}, Counting(8, 0xA0)});
    Dispatch(On::FeatureReport, visitor, first);

    ScriptedTransport second;
    second.QueueReply({0x30, 0, 0, 0, 0, 0, 0, 0});
    second.FailOn(Op::Receive, 2, ScriptedTransport::Failure::TransportException, "unplugged");
    EXPECT_THROW(Dispatch(On::FeatureReport, visitor, second), PyxTransport::TransportException);
    EXPECT_EQ(PayloadBytes(visitor.GetResult()), Payload(0x22, Counting(8, 0xA0)));
}

TEST(CardReadPayload, SerialBinaryReadsBitCountAndDataFromOneReply)
{
    ScriptedTransport transport;
    Bytes reply = Counting(15, 0x40);
    reply[2] = 26;
    reply[13] = 0x90;
    reply[14] = 0x00;
    transport.QueueReply(reply);
    GetCardReadPayloadVisitor visitor(GetCardDataSizeParameters::CARD_DATA_SIZE_8_BYTES);
    Dispatch(On::SerialBinary, visitor, transport);
    EXPECT_EQ(PayloadBytes(visitor.GetResult()), Payload(26, Counting(8, 0x45)));
    EXPECT_EQ(transport.CountOf(Op::Transmit), 1u);
}

std::string Show(const MicrocontrollerFirmwareVersion& v)
{
    return std::to_string(std::uint32_t{v.Version}) + "/" + std::to_string(v.ModuleClass) + "/" +
           std::to_string(v.ModuleType);
}

TEST(SamFirmwareVersion, OneRequestFillsAllThreeRecords)
{
    for (auto module : {FirmwareVersionModuleType::SamHidSe, FirmwareVersionModuleType::SamNxpAvx,
                        FirmwareVersionModuleType::SamFelica})
    {
        const auto type = static_cast<std::uint8_t>(module);
        ScriptedTransport transport;
        transport.QueueReply({0x89, 0x03, 0x04, type, 0x04, 0x03, 0x02, 0x01});
        GetSamFirmwareVersionVisitor visitor(module);
        Dispatch(On::FeatureReport, visitor, transport);
        EXPECT_EQ(transport.Transmitted(), (std::vector<Bytes>{{0x89, 0x03, 0x04, type, 0, 0, 0, 0}}));
        const std::string tail = "/4/" + std::to_string(type);
        EXPECT_EQ(Show(visitor.GetFelicaSamFirmwareVersion()), std::to_string(0x04030201) + tail);
        EXPECT_EQ(Show(visitor.GetNxpSamFirmwareVersion()), std::to_string(0x01020304) + tail);
        EXPECT_EQ(Show(visitor.GetHidSeSamFirmwareVersion()), std::to_string(0x01020304) + tail);
    }
}

TEST(LoadStoredDefaults, SerialBinaryWaitsAfterTheAcknowledgementOnly)
{
    auto delay = std::make_unique<RecordingTimeDelay>();
    RecordingTimeDelay& waits = *delay;
    LoadStoredDefaultsVisitor visitor(std::move(delay));
    ScriptedTransport transport;
    transport.QueueReply({0x90, 0x00});
    Dispatch(On::SerialBinary, visitor, transport);
    EXPECT_EQ(waits.WaitsInMilliseconds(), (std::vector<int>{1200}));

    waits.Clear();
    ScriptedTransport refusing;
    refusing.QueueReply({0x6A, 0x82});
    EXPECT_NE(DispatchFailure(On::SerialBinary, visitor, refusing), "");
    EXPECT_TRUE(waits.Waits().empty());

    ScriptedTransport featureReport;
    Dispatch(On::FeatureReport, visitor, featureReport);
    EXPECT_TRUE(waits.Waits().empty());
    EXPECT_EQ(featureReport.CountOf(Op::Receive), 0u);
}

TEST(CopyConfiguration, FeatureReportSendsFactoryDefaultsToRamWithTheValuesLowBytes)
{
    const Bytes request{0x89, 0x82, 0x03, 0x00, 0x34, 0xCD, 0x00, 0x00};
    ScriptedTransport transport;
    transport.QueueReply(request);
    CopyConfigurationVisitor visitor(ConfigurationLocation::FactoryDefaults, ConfigurationLocation::RAM,
                                     0x1234, 0xABCD);
    Dispatch(On::FeatureReport, visitor, transport);
    EXPECT_EQ(transport.Transmitted(), std::vector<Bytes>{request});
}

// The command owns the delay and drops it with itself, so the waits are written to a log the test keeps.
class LoggingDelay : public PyxCommon::TimeDelay
{
public:
    explicit LoggingDelay(std::vector<int>& log) : log_(log) {}
    void DelayMilliseconds(int milliseconds) override { log_.push_back(milliseconds); }

private:
    std::vector<int>& log_;
};

TEST(CopyConfiguration, SerialBinaryPacesThroughTheGivenDelay)
{
    std::vector<int> waits;
    CopyConfigurationVisitor visitor(ConfigurationLocation::Stored1, ConfigurationLocation::Stored2, 0x0102,
                                     0x0304, std::make_unique<LoggingDelay>(waits));
    ScriptedTransport transport;
    transport.QueueReply({0x09, 0x00, 0x01, 0x02, 0x02, 0x04, 0x90, 0x00});
    Dispatch(On::SerialBinary, visitor, transport);
    EXPECT_EQ(transport.Transmitted(), (std::vector<Bytes>{{0xFA, 0x09, 0x82, 0x01, 0x02, 0x02, 0x04}}));
    EXPECT_EQ(waits, (std::vector<int>{50}));
}

TEST(WriteConfiguration, OnlySerialBinaryCarriesTheValue)
{
    WriteConfigurationVisitor visitor(1);
    ScriptedTransport featureReport;
    Dispatch(On::FeatureReport, visitor, featureReport);
    EXPECT_EQ(featureReport.Transmitted(), (std::vector<Bytes>{{0x90, 0, 0, 0, 0, 0, 0, 0}}));

    ScriptedTransport serialBinary;
    serialBinary.QueueReply({0x90, 0x00});
    Dispatch(On::SerialBinary, visitor, serialBinary);
    EXPECT_EQ(serialBinary.Transmitted(), (std::vector<Bytes>{{0xFA, 0x02, 0x80, 0x00, 0x00}}));
}

TEST(ConfigureModuleState, QueryWithoutStateReturnsTheReportedState)
{
    ScriptedTransport transport;
    transport.QueueReply({0x8C, 0x0B, 0xFF, 0x03, 0x05, 0, 0, 0});
    ConfigureModuleStateVisitor visitor(ReaderModuleAction::Get, static_cast<ReaderModuleId>(3),
                                        ReaderModuleState::Invalid);
    Dispatch(On::FeatureReport, visitor, transport);
    EXPECT_EQ(transport.Transmitted(), (std::vector<Bytes>{{0x8C, 0x0B, 0x01, 0x03, 0x00, 0, 0, 0}}));
    EXPECT_EQ(visitor.GetResult(), static_cast<ReaderModuleState>(5));
}

TEST(GetActiveConfiguration, ResultIsClearedWhenAVisitStarts)
{
    GetActiveConfigurationVisitor visitor;
    ScriptedTransport first;
    first.QueueReply({0x89, 0x01, 0x02, 0x04, 0x00, 0x34, 0x12, 0x07});
    Dispatch(On::FeatureReport, visitor, first);
    EXPECT_EQ(visitor.GetResult(), (ActiveConfigurationInformation{2, 4, 0x1234, 7}));

    ScriptedTransport failing;
    EXPECT_NE(DispatchFailure(On::FeatureReport, visitor, failing), "");
    EXPECT_EQ(visitor.GetResult(), (ActiveConfigurationInformation{}));
}

// Any other failure passes out of the visit unchanged, and the result keeps what it held.
TEST(VisitFailures, PassThroughUnchangedAndLeaveTheResult)
{
    GetLuidVisitor visitor;
    ScriptedTransport transport;
    transport.FailOn(Op::Transmit, 1, ScriptedTransport::Failure::TransportException, "not connected");
    EXPECT_THROW(Dispatch(On::SerialBinary, visitor, transport), PyxTransport::TransportException);
    const LuidResponseInformation result = visitor.GetResult();
    EXPECT_EQ(result.Field16A, 0);
    EXPECT_EQ(result.Field32, 0u);

    GetBeeperVolumeVisitor volume;
    ScriptedTransport wrongEcho;
    wrongEcho.QueueReply({0x0D, 0x02, 0x90, 0x00});
    EXPECT_THROW(Dispatch(On::SerialBinary, volume, wrongEcho), ProtocolException);
    EXPECT_EQ(volume.GetResult(), BeepVolume::VOLUME_0);
}

TEST(GetBlob, ResultIsTheDataOfWholeWords)
{
    PyxCommon::BlobHeader header = BlobHeaderOf(6);
    ScriptedTransport transport;
    transport.QueueReplies({{0x89, 0x10, 0x00, 0x00, 0x21, 0x00, 0x06, 0x00},
                            {0x89, 0x10, 0x00, 0x01, 1, 2, 3, 4},
                            {0x89, 0x10, 0x00, 0x02, 5, 6, 0, 0}});
    GetBlobVisitor visitor(header);
    Dispatch(On::FeatureReport, visitor, transport);
    EXPECT_EQ(visitor.GetResult(), (Bytes{1, 2, 3, 4, 5, 6, 0, 0}));
}
} // namespace
} // namespace PyxTest
