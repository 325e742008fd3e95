#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "Linux/PosixComPort.h"
#include "TransportException.h"

namespace
{
using PyxTransport::PosixComPort;

TEST(PortName, ComStyleNamesMapToTheTtySNumberedFromZero)
{
    const struct
    {
        const char* name;
        const char* device;
    } cases[] = {
        {"COM7", "/dev/ttyS6"},
        {"com7", "/dev/ttyS6"},
        {"7", "/dev/ttyS6"},
        {R"(\\.\COM7)", "/dev/ttyS6"},
        {"COM007", "/dev/ttyS6"},
        {"COM1", "/dev/ttyS0"},
        {"port 12 (COM3)", "/dev/ttyS11"},
        {"COM2147483647", "/dev/ttyS2147483646"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(PosixComPort::PortNameToDevicePath(c.name), c.device) << c.name;
    }
}

TEST(PortName, AbsolutePathsAreOpenedAsGiven)
{
    for (const char* path : {"/dev/ttyUSB0", "/dev/ttyACM1", "/dev/pts/3", "/dev/serial/by-id/usb-x-if00"})
    {
        EXPECT_EQ(PosixComPort::PortNameToDevicePath(path), path);
    }
}

TEST(PortName, BareLinuxDeviceNamesOpenInDevNotAsComNumbers)
{
    for (const std::string name : {"ttyUSB1", "ttyUSB0", "ttyACM0", "ttyS"})
    {
        EXPECT_EQ(PosixComPort::PortNameToDevicePath(name), "/dev/" + name);
    }
}

TEST(PortName, NamesWithoutAPortNumberAreRefused)
{
    for (const std::string name : {"AUX", "", "COM", "COM0", "TTY", "tty", "tty/../sda"})
    {
        try
        {
            PosixComPort::PortNameToDevicePath(name);
            ADD_FAILURE() << "accepted '" << name << "'";
        }
        catch (const PyxTransport::TransportException& e)
        {
            EXPECT_EQ(e.GetMessage(),
                      "Received COM port name '" + name +
                          "' must be of the form 'COM[N]', contain the COM port number within the "
                          "string, or must be of the filename form: '\\\\.\\COM[N]'");
            EXPECT_EQ(e.GetFileName(), "PosixComPort.cpp");
        }
    }
}

TEST(PortName, NumberTooLargeForAnIntGivesTheOutOfRangeText)
{
    for (const char* name : {"COM2147483648", "COM99999999999999999999"})
    {
        try
        {
            PosixComPort::PortNameToDevicePath(name);
            ADD_FAILURE() << "accepted " << name;
        }
        catch (const std::out_of_range& e)
        {
            EXPECT_STREQ(e.what(), "stoi argument out of range");
        }
    }
}
} // namespace
