// The facade's operations on USB HID readers: hidapi on a umockdev node, with the reader simulator answering.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "FacadeOperations.h"
#include "LogCapture.h"
#include "Logging/Logger.h"
#include "SimulatedFacadeTest.h"

namespace PyxFacadeTest
{
namespace
{
class FacadeHidTest : public SimulatedFacadeTest
{
};

TEST_F(FacadeHidTest, FeatureReportReaderServesAllFortyOneOperations)
{
    Open(Protocol::FeatureReport);
    PyxTest::LogCapture log;
    const auto succeeded = RunEveryOperation(*facade_, simulator_);
    EXPECT_EQ(succeeded.size(), 41u);
    if (PyxCommon::Logger::GetInstance(false, true).ShouldLog("PROTOCOL", 0))
    {
        EXPECT_TRUE(log.Contains("[PROTOCOL] Facade: GetConfiguration"));
        EXPECT_TRUE(log.Contains("[PROTOCOL] Facade: GetHideSeSamFirmwareVersion"));
    }
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

// A negative count makes no attempt at all: the absent reader is reported at once, not retried for ever.
TEST_F(FacadeHidTest, AbsentReaderWithNegativeRetryCountFailsAtOnce)
{
    PyxTest::HidTestbed emptyBed;
    PyxCommon::ReaderDefinition definition{};
    definition.DeviceId.VendorId = 0x1A2B;
    definition.DeviceId.ProductId = 0x3C4D;
    definition.ProtocolType = ProtocolType::FeatureReport;
    ProtocolCommandResult result{};

    EXPECT_EQ(PyxProtocol::ProtocolFacade::CreateInstance(definition, -1, &result), 0u);

    EXPECT_STREQ(result.Message, "Unable to connect to the reader after 0 attempts");
    EXPECT_STREQ(result.ExceptionType, "TessmarException");
}

TEST_F(FacadeHidTest, DeviceIdNeedsNoReader)
{
    Open(Protocol::FeatureReport);
    testbed_->Remove("/sys/devices/1-4");
    auto deviceId = Marked<PyxCommon::DeviceId>();

    const ProtocolCommandResult result = facade_->GetDeviceId(deviceId);

    EXPECT_FALSE(result.HasException) << result.Message;
    EXPECT_TRUE(simulator_.Received().empty());
    EXPECT_EQ(+deviceId.VendorId, +definition_.DeviceId.VendorId);
    EXPECT_EQ(+deviceId.ProductId, +definition_.DeviceId.ProductId);
    EXPECT_STREQ(deviceId.SerialNumber, "SIM0001");
    EXPECT_STREQ(deviceId.UsbPath, "");
}
} // namespace
} // namespace PyxFacadeTest
