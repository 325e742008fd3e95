#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "ParserTestSupport.h"
#include "Utility/Parsers/BleHwgFileParser.h"
#include "Utility/Parsers/HwgFileParser.h"
#include "Utility/Parsers/HwgPropertyMapping.h"
#include "Utility/Parsers/SmartCardConfigurationFileParser.h"

using namespace PyxCommon;

namespace
{
using PyxTest::Crc;
using PyxTest::FailureOf;
using PyxTest::ReadBytes;
using PyxTest::Replaced;

constexpr std::size_t kLargestFile = 10485760;
// A reader holds the file, the text its CRC is taken over and the line at hand, each at most the file's size;
// pieces and records cut out of them stay small beside these.
constexpr std::size_t kPeakBound = 64U * 1024U * 1024U;

// `piece` repeated as often as fits in `room` bytes.
std::string Repeated(const std::string& piece, std::size_t room)
{
    std::string text;
    text.reserve(room);
    while (text.size() + piece.size() <= room)
    {
        text += piece;
    }
    return text;
}

std::string ClosedIni(const std::string& body)
{
    return body + "[EOF]\niEndOfIniFile=" + Crc(body) + "\n";
}

// `body` with the end marker and a CRC line, whose key and digits `separator` joins.
std::string MarkedHwg(const std::string& body, const std::string& separator)
{
    const std::string guarded = body + "/--- iEndOfHwgFile\n";
    return guarded + "iEndOfHwgFile" + separator + Crc(guarded);
}

constexpr std::size_t kIniClosing = sizeof("[EOF]\niEndOfIniFile=00000000\n") - 1;
constexpr std::size_t kHwgClosing = sizeof("/--- iEndOfHwgFile\niEndOfHwgFile = 00000000") - 1;

class LargeFiles : public PyxTest::ParserFileTest
{
protected:
    // Writes `text`, which must fit the limit, and reads it with `read` in a child process, which reports
    // what came of it and its peak.
    void ExpectReadOf(const std::string& text, const std::function<void(const std::string&)>& read,
                      const std::string& expected)
    {
        ASSERT_LE(text.size(), kLargestFile);
        const std::string path = PathOf("large");
        PyxTest::WriteBytes(path, text);
        const auto readInChild = [&]
        {
            std::string outcome;
            const std::size_t peak =
                PyxTest::PeakBytesOf([&] { outcome = FailureOf([&] { read(path); }).message; });
            std::fprintf(stderr, "%s (peak %zu bytes)\n", outcome.c_str(), peak);
            const bool small = !PyxTest::kMemoryIsMeasurable || peak < kPeakBound;
            std::_Exit(outcome == expected && small ? 0 : 1);
        };
        EXPECT_EXIT(readInChild(), ::testing::ExitedWithCode(0), "") << expected;
    }
};

TEST_F(LargeFiles, EveryReaderStaysSmallOnTheLargestFiles)
{
    // Smart-card blobs as small as a blob can be, as many as the file holds.
    const std::string blob = "Blob\nhdr=1 0 0 0\ndata= \n";
    ExpectReadOf(ClosedIni(Repeated(blob, kLargestFile - kIniClosing)),
                 SmartCardConfigurationFileParser::ReadConfigurationFromSmartCardIniFile,
                 "SmartCard Ini file holds more than 256 blobs: " + PathOf("large"));

    // One data line that fills the file, in each reader.
    const std::string blobStart = "[Blob1]\nhdr=0F 00 3 00\ndata=";
    ExpectReadOf(
        ClosedIni(blobStart + Repeated("0 ", kLargestFile - kIniClosing - blobStart.size() - 2) + "0\n"),
        SmartCardConfigurationFileParser::ReadConfigurationFromSmartCardIniFile,
        "Blob data length does not match with datalength in header");

    // The .hwg files carry their CRC line, so the guarded text is taken as well.
    ReaderBleConfiguration ble;
    ble.SetBleDataType(1).SetBleData({0});
    BleHwgFileParser::WriteBleConfigurationToBleHwgFile(ble, PathOf("ble.hwg"), {"1", "1", false}, false);
    const std::string bleText = ReadBytes(PathOf("ble.hwg"));
    const std::string bleLine = Repeated("0.", kLargestFile - bleText.size() - kHwgClosing - 1) + "\n";
    ExpectReadOf(MarkedHwg(Replaced(bleText, "[] =\n", "[] =\n" + bleLine), "="),
                 BleHwgFileParser::ReadBleConfigurationFromBleHwgFile,
                 "BLE data size (385) exceeds maximum allowed size (384)");

    HwgFileParser::WriteConfigurationToHwgFile({ReaderConfiguration{}}, {ExtendedConfiguration{}},
                                               PathOf("c.hwg"), {"1", "1", false});
    const std::string hwgText = ReadBytes(PathOf("c.hwg"));
    const std::string hwgLine = Repeated("0.", kLargestFile - hwgText.size() - kHwgClosing - 1) + "\n";
    ExpectReadOf(MarkedHwg(Replaced(hwgText, "BEGIN sFldSepData\n", "BEGIN sFldSepData\n" + hwgLine), " = "),
                 HwgFileParser::ReadConfigurationFromHwgFile,
                 "Invalid extended configuration data size in HWG file: expected 128 bytes, got " +
                     std::to_string(hwgLine.size() / 2 + 128) + " bytes");

    // The smallest configurations, as many as the file holds: no more than a reader's 255 are read.
    std::string configuration;
    for (const HwgPropertyBlock& block : HwgPropertyMapping::PropertyBlocks)
    {
        for (const HwgProperty& property : block.Properties)
        {
            configuration += property.Name + "=" + property.Getter(ReaderConfiguration{}) + "\n";
        }
    }
    const std::string header = hwgText.substr(0, hwgText.find('\n') + 1);
    std::string most = header;
    for (int i = 0; i < 255; ++i)
    {
        most += (i == 0 ? "" : "\n") + configuration + "##NEXTCONFIG##\n";
    }
    PyxTest::WriteBytes(PathOf("most.hwg"), MarkedHwg(most, " = "));
    EXPECT_EQ(HwgFileParser::ReadConfigurationFromHwgFile(PathOf("most.hwg")).size(), 255U);
    ExpectReadOf(MarkedHwg(header + Repeated(configuration + "##NEXTCONFIG##\n\n",
                                             kLargestFile - header.size() - kHwgClosing),
                           " = "),
                 HwgFileParser::ReadConfigurationFromHwgFile,
                 "HWG file holds more than 255 configurations: " + PathOf("large"));
}
} // namespace
