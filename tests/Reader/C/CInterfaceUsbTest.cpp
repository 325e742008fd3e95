// The C interface's USB road: discovery in two calls, opening what it found, and the operations the serial
// protocol does not carry, against the simulated reader on a umockdev hidraw node.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Reader/Reader_C.h"
#include "SimulatedReaders.h"

namespace
{
using PyxTest::Sim::ReaderModel;

PyxTest::HidTestbed::UsbDevice SupportedReader()
{
    auto device = PyxTest::Sim::SimulatedUsbReader::DefaultDevice();
    device.vendorId = 0xFFFF; // a model that discovery reports
    device.productId = 0xA001;
    return device;
}

class CInterfaceUsb : public ::testing::Test
{
protected:
    void TearDown() override
    {
        PyxResult result;
        Pyx_Close(&result, handle_);
    }

    PyxTest::Sim::ReaderSimulator simulator_;
    PyxTest::HidTestbed testbed_;
    PyxTest::Sim::SimulatedUsbReader usb_{testbed_, simulator_, PyxTest::Sim::Protocol::FeatureReport,
                                          SupportedReader()};
    Reader_Handle* handle_ = nullptr;
};

TEST_F(CInterfaceUsb, DiscoveredReaderOpensAndReadsItsSmartCardBlob)
{
    PyxResult result;
    size_t count = 0;
    Pyx_DiscoverUsbReaders(&result, nullptr, &count);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;
    ASSERT_EQ(count, 1u);
    std::vector<PyxReaderDefinition> readers(count);
    Pyx_DiscoverUsbReaders(&result, readers.data(), &count);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;
    EXPECT_STREQ(readers[0].DeviceId.SerialNumber, "SIM0001");
    EXPECT_EQ(readers[0].ProtocolType, PYX_PROTOCOL_FEATURE_REPORT);

    // A copying call with the wrong count carries the protocol layer's refusal.
    size_t wrong = 2;
    Pyx_DiscoverUsbReaders(&result, readers.data(), &wrong);
    EXPECT_EQ(result.ResultCode, 1);
    EXPECT_EQ(+result.LineNumber, 984);
    EXPECT_STREQ(result.FunctionName, "operator ()");
    EXPECT_EQ(result.HasProtocolException, 1);
    EXPECT_STREQ(result.ProtocolExceptionType, "InvalidArgument");

    handle_ = PyxReader_Open(&result, &readers[0], 1);
    ASSERT_NE(handle_, nullptr) << result.Message;
    Pyx_Init(&result, handle_);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;

    // A smart-card blob reaches the caller's record only when the whole read succeeded.
    simulator_.Update([](ReaderModel& model) { model.blob.blobs[1] = {0x11, 0x22, 0x33}; });
    PyxSmartCardConfiguration blob{};
    blob.Header.BlobType = 1;
    blob.Header.DataLength = 3;
    PyxReader_ReadSmartCardConfigurationFromReader(&result, handle_, &blob);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;
    EXPECT_EQ(blob.Data[0], 0x11);
    EXPECT_EQ(blob.Data[2], 0x33);

    PyxSmartCardConfiguration refused{};
    refused.Header.BlobType = 3; // not a smart-card blob
    refused.Data[0] = 0x99;
    PyxReader_ReadSmartCardConfigurationFromReader(&result, handle_, &refused);
    EXPECT_STREQ(result.ExceptionType, "TessmarException");
    EXPECT_STREQ(result.Message, "Invalid blob type for SmartCardConfiguration");
    EXPECT_EQ(refused.Data[0], 0x99);

    // The LED state of configuration 0, written and read back through the 2-byte record.
    const PyxLedConfiguration red{2, true};
    PyxReader_SetLedConfiguration(&result, handle_, 0, &red);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;
    PyxLedConfiguration led{};
    PyxReader_GetLedConfiguration(&result, handle_, 0, &led);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;
    EXPECT_EQ(led.LedColor, 2);
    EXPECT_TRUE(led.SoftwareControlled);
}
} // namespace
