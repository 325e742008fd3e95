// The facade on USB HID readers: hidapi on a umockdev node, the simulator answering.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "FacadeOperations.h"
#include "LogCapture.h"
#include "SimulatedFacadeTest.h"

namespace PyxFacadeTest
{
namespace
{
using FacadeHidTest = SimulatedFacadeTest;

TEST_F(FacadeHidTest, FeatureReportReaderServesAllFortyOneOperations)
{
    Open(Protocol::FeatureReport);
    PyxTest::LogCapture log("PYX_PROTOCOL_LOG_LEVEL", "trace");
    EXPECT_EQ(RunEveryOperation(*facade_, simulator_).size(), 41u);
    EXPECT_TRUE(log.Contains("[PROTOCOL] Facade: GetHideSeSamFirmwareVersion"));
}

TEST_F(FacadeHidTest, Mfp24ReaderServesItsSevenOperationsAndItsIdentity)
{
    Open(Protocol::Mfp24);
    auto succeeded = RunEveryOperation(*facade_, simulator_);
    std::sort(succeeded.begin(), succeeded.end());
    EXPECT_EQ(succeeded, (std::vector<std::string>{"Beep", "CopyConfiguration", "GetBluetoothFirmwareVersion",
                                                   "GetDeviceId", "GetInstalledHardware", "GetPartNumber",
                                                   "GetSupportedCards", "SetBeeperVolume"}));
    PyxProtocol::ReaderConfiguration configuration{};
    EXPECT_STREQ(facade_->GetConfiguration(1, configuration).Message,
                 "SetActiveConfiguration is not supported by MFP24.");
}

TEST_F(FacadeHidTest, DeviceIdNeedsNoReader)
{
    Open(Protocol::FeatureReport);
    testbed_->Remove("/sys/devices/1-4");
    auto id = Marked<PyxCommon::DeviceId>();
    EXPECT_FALSE(facade_->GetDeviceId(id).HasException);
    EXPECT_TRUE(simulator_.Received().empty());
    EXPECT_EQ(std::make_pair(+id.VendorId, +id.ProductId), std::make_pair(0x1A2B, 0x3C4D));
    EXPECT_STREQ(id.SerialNumber, "SIM0001");
    EXPECT_STREQ(id.UsbPath, "");
}

// A negative count makes no attempt at all: the absent reader is reported at once, not retried for ever.
TEST(FacadeHidCreation, AbsentReaderWithNegativeRetryCountFailsAtOnce)
{
    PyxTest::HidTestbed emptyBed;
    PyxCommon::ReaderDefinition definition{{0x1A2B, 0x3C4D, {}, {}}, ProtocolType::FeatureReport, {}};
    ProtocolCommandResult result{};
    EXPECT_EQ(PyxProtocol::ProtocolFacade::CreateInstance(definition, -1, &result), 0u);
    EXPECT_STREQ(result.Message, "Unable to connect to the reader after 0 attempts");
}
} // namespace
} // namespace PyxFacadeTest
