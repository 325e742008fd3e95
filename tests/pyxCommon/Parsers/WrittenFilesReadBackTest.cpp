#include <gtest/gtest.h>

#include "ParserTestSupport.h"
#include "Utility/Parsers/BleHwgFileParser.h"
#include "Utility/Parsers/HwgFileParser.h"

using namespace PyxCommon;

namespace
{
using PyxTest::Bytes;
using PyxTest::FailureOf;
using PyxTest::Image;
using PyxTest::ReadBytes;

// Version texts a reader could report that look like the structure of one file format or another, alone, in
// a longer text, repeated, overlapping, or joined only once control characters are dropped.
const std::vector<std::string> kHostileVersions = {
    "##NEXTCONFIG##",
    "2.07 ##NEXTCONFIG## 3",
    "###NEXTCONFIG##NEXTCONFIG###",
    "##NEXT\x01"
    "CONFIG##",
    "/--- iEndOfHwgFile",
    "iEndOfHwgFile = 00000000",
    "iEndOfHwgFile=00000000",
    "/--- iEnd\tOfHwgFile x",
    "BEGIN sFldSepData",
    "END sFldSepData",
    "BEGIN sFldBleData1",
    "BEGIN sFldBleData2 END sFldBleData2",
    "END sFldBleData1",
    "BEGIN sFldBleData1\nBEGIN sFldSepData\n/--- iEndOfHwgFile\n##NEXTCONFIG##",
    "/--- Tarnex and OEM Reader Configuration Template File ---",
    "iEndOfHwgFileiEndOfHwgFile",
};

ReaderConfiguration Configuration(std::uint16_t cardType)
{
    ReaderConfiguration c;
    c.SetIdBitCount(16).SetFacDigitCount(5).SetLockOutTimeMs(1000).SetCardType(cardType);
    c.AddLeadingCharacter('A').AddCardGoneCharacter(10);
    return c;
}

ExtendedConfiguration Extended()
{
    ExtendedConfiguration e;
    e.FieldSeparatorDataHeader = {1, 4, 4, 1, 2, 1, 16};
    e.FieldEntries[0] = {1, 2, 10, 0, 1, 0, 0, 0, 1, 0, 8, 16};
    e.ApplicationData = {2, 1, 26};
    return e;
}

ReaderBleConfiguration BleData(std::uint8_t type)
{
    ReaderBleConfiguration data;
    data.SetBleDataType(type).SetBleData({0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x10});
    return data;
}

// Writes a file with the versions given and reads it back as record bytes.
using RoundTrip = std::function<Bytes(const std::string& path, const HwgFileInfo& info)>;

Bytes HwgRoundTrip(const std::string& path, const HwgFileInfo& info, std::size_t configurations)
{
    const std::vector<ReaderConfiguration> written(configurations, Configuration(0x150));
    HwgFileParser::WriteConfigurationToHwgFile(written, std::vector(configurations, Extended()), path, info);
    Bytes bytes;
    for (const HwgConfigurationEntry& entry : HwgFileParser::ReadConfigurationFromHwgFile(path))
    {
        const Bytes reader = Image(entry.ReaderConfiguration);
        const Bytes extended = Image(entry.ExtendedConfiguration);
        bytes.insert(bytes.end(), reader.begin(), reader.end());
        bytes.insert(bytes.end(), extended.begin(), extended.end());
    }
    return bytes;
}

Bytes BleRoundTrip(const std::string& path, const HwgFileInfo& info, std::uint8_t type)
{
    BleHwgFileParser::WriteBleConfigurationToBleHwgFile(BleData(type), path, info, info.WithEndMarker);
    return Image(BleHwgFileParser::ReadBleConfigurationFromBleHwgFile(path));
}

// Whether `text` can be read in `line` in order, perhaps with characters put between.
bool ReadableIn(const std::string& text, const std::string& line)
{
    std::size_t at = 0;
    for (const char c : line)
    {
        if (at < text.size() && c == text[at])
        {
            ++at;
        }
    }
    return at == text.size();
}

std::string Printable(const std::string& text)
{
    std::string kept;
    for (const char c : text)
    {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
        {
            kept += c;
        }
    }
    return kept;
}

class WrittenFiles : public PyxTest::ParserFileTest
{
};

TEST_F(WrittenFiles, ReadBackTheSameRecordsWhateverVersionTextsTheReaderReports)
{
    const std::string path = PathOf("written.hwg");
    const std::vector<std::pair<std::string, RoundTrip>> formats = {
        {"one configuration", [](auto& p, auto& i) { return HwgRoundTrip(p, i, 1); }},
        {"two configurations", [](auto& p, auto& i) { return HwgRoundTrip(p, i, 2); }},
        {"BLE data set 1", [](auto& p, auto& i) { return BleRoundTrip(p, i, 1); }},
        {"BLE data set 2", [](auto& p, auto& i) { return BleRoundTrip(p, i, 2); }},
    };
    for (const auto& [format, roundTrip] : formats)
    {
        for (const bool marked : {true, false})
        {
            const Bytes expected = roundTrip(path, {"2.07", "1.0.0", marked});
            for (const std::string& version : kHostileVersions)
            {
                for (const HwgFileInfo& info :
                     {HwgFileInfo{version, "1.0.0", marked}, HwgFileInfo{"2.07", version, marked}})
                {
                    const std::string what = format + (marked ? ", marked, " : ", unmarked, ") + version;
                    Bytes read;
                    EXPECT_EQ(FailureOf([&] { read = roundTrip(path, info); }).message, "<no exception>")
                        << what;
                    EXPECT_EQ(read, expected) << what;
                    const std::string text = ReadBytes(path);
                    const std::string versionLines =
                        text.substr(59, text.find('\n', text.find('\n', 59) + 1) - 59);
                    EXPECT_TRUE(ReadableIn(Printable(version), versionLines)) << what;
                }
            }
        }
    }
}

TEST_F(WrittenFiles, AFileTooLargeToBeReadIsNotWritten)
{
    const std::string path = PathOf("written.hwg");
    HwgRoundTrip(path, {"2.07", "1.0.0", true}, 1);
    const std::string old = ReadBytes(path);
    const HwgFileInfo huge{std::string(10485760, '1'), "1.0.0", true};
    EXPECT_EQ(FailureOf([&] { HwgFileParser::WriteConfigurationToHwgFile({}, {}, path, huge); }).message,
              "File size is too large to be a valid HWG file: " + path);
    EXPECT_EQ(
        FailureOf([&] { BleHwgFileParser::WriteBleConfigurationToBleHwgFile(BleData(1), path, huge, false); })
            .message,
        "File size is too large to be a valid BLE HWG file: " + path);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"written.hwg"});
}
} // namespace
