#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "Structures/ReaderDefinition.h"

namespace
{
using PyxCommon::ReaderDefinition;

TEST(ProtocolType, TextForms)
{
    const std::pair<std::uint8_t, const char*> cases[] = {
        {0, "Invalid"}, {1, "FeatureReport"},     {2, "Mfp24"},   {3, "SerialBinary"},
        {254, "Dummy"}, {255, "UnknownProtocol"}, {4, "Unknown"}, {253, "Unknown"},
    };
    for (const auto& [value, text] : cases)
    {
        EXPECT_STREQ(ProtocolTypeToString(static_cast<ProtocolType>(value)), text) << int{value};
    }
}

TEST(ReaderDefinition, CopyingCopiesAll1041Bytes)
{
    ReaderDefinition original;
    auto* bytes = reinterpret_cast<std::uint8_t*>(&original);
    for (std::size_t i = 0; i < sizeof(original); ++i)
    {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }

    const ReaderDefinition constructed = original;
    EXPECT_EQ(std::memcmp(&constructed, &original, sizeof(ReaderDefinition)), 0);

    ReaderDefinition assigned{};
    assigned = original;
    EXPECT_EQ(std::memcmp(&assigned, &original, sizeof(ReaderDefinition)), 0);
}

TEST(FieldText, EndsAtTheFirstZeroByteOrTheFieldsEnd)
{
    ReaderDefinition definition{};
    std::memset(definition.DeviceId.UsbPath, 'p', sizeof(definition.DeviceId.UsbPath));
    std::memset(definition.DeviceId.SerialNumber, 's', sizeof(definition.DeviceId.SerialNumber));
    std::memset(definition.SerialPortSettings.PortName, 'c', sizeof(definition.SerialPortSettings.PortName));
    definition.SerialPortSettings.ByteSize = 0x38383838;

    EXPECT_EQ(PyxCommon::FieldText(definition.DeviceId.UsbPath), std::string(512, 'p'));
    EXPECT_EQ(PyxCommon::FieldText(definition.DeviceId.SerialNumber), std::string(256, 's'));
    EXPECT_EQ(PyxCommon::FieldText(definition.SerialPortSettings.PortName), std::string(256, 'c'));

    std::memcpy(definition.DeviceId.SerialNumber, "AB12\0junk", 9);
    EXPECT_EQ(PyxCommon::FieldText(definition.DeviceId.SerialNumber), "AB12");
}

TEST(SetFieldText, CutsToFitAndClearsTheRest)
{
    ReaderDefinition definition{};
    PyxCommon::SetFieldText(definition.SerialPortSettings.PortName, std::string(300, 'c'));
    EXPECT_EQ(PyxCommon::FieldText(definition.SerialPortSettings.PortName), std::string(255, 'c'));
    EXPECT_EQ(definition.SerialPortSettings.PortName[255], '\0');

    PyxCommon::SetFieldText(definition.SerialPortSettings.PortName, "COM3");
    char expected[256] = "COM3";
    EXPECT_EQ(std::memcmp(definition.SerialPortSettings.PortName, expected, sizeof(expected)), 0);
}
} // namespace
