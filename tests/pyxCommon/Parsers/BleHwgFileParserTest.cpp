#include <gtest/gtest.h>

#include "ParserTestSupport.h"
#include "Utility/Parsers/BleHwgFileParser.h"

using namespace PyxCommon;

namespace
{
using PyxTest::Crc;
using PyxTest::FailureOf;
using PyxTest::ReadBytes;
using PyxTest::Replaced;
using Bytes = std::vector<std::uint8_t>;

const HwgFileInfo kInfo{"3.1", "1.0.0", false}; // its own marker flag is not the writer's

ReaderBleConfiguration DataSet(std::uint8_t type, std::size_t size)
{
    Bytes data;
    for (std::size_t i = 0; i < size; ++i)
    {
        data.push_back(static_cast<std::uint8_t>(i * 13));
    }
    ReaderBleConfiguration configuration;
    configuration.SetBleDataType(type).SetBleData(data);
    return configuration;
}

class BleHwgFile : public PyxTest::ParserFileTest
{
protected:
    std::string Write(const ReaderBleConfiguration& configuration, bool withEndMarker)
    {
        BleHwgFileParser::WriteBleConfigurationToBleHwgFile(configuration, Path(), kInfo, withEndMarker);
        return ReadBytes(Path());
    }
    ReaderBleConfiguration Read(const std::string& text)
    {
        PyxTest::WriteBytes(Path(), text);
        return BleHwgFileParser::ReadBleConfigurationFromBleHwgFile(Path());
    }
    std::string FailureReading(const std::string& text)
    {
        return FailureOf([&] { Read(text); }).message;
    }
    // An unmarked file whose data section holds `lines`.
    std::string WithData(const std::string& lines)
    {
        const std::string text = Write(DataSet(1, 1), false);
        return Replaced(text, "/ BleData1[] =\n00\n", "/ BleData1[] =\n" + lines);
    }
    std::string Path() const { return PathOf("ble.hwg"); }
};

TEST_F(BleHwgFile, BothDataSetsAreWrittenByteForByteAndReadBack)
{
    PyxTest::ExpectGolden(Write(DataSet(1, 20), true), "ble-data1.hwg");
    const auto data = BleHwgFileParser::ReadBleConfigurationFromBleHwgFile(Path());
    EXPECT_EQ(data.GetBleDataType(), BleDataType::Data);
    EXPECT_EQ(data.GetBleData(), DataSet(1, 20).GetBleData());

    // Every type other than 1 is data set 2.
    PyxTest::ExpectGolden(Write(DataSet(3, 9), false), "ble-data2.hwg");
    const auto key = BleHwgFileParser::ReadBleConfigurationFromBleHwgFile(Path());
    EXPECT_EQ(key.GetBleDataType(), BleDataType::Key);
    EXPECT_EQ(key.GetBleData(), DataSet(3, 9).GetBleData());

    EXPECT_EQ(Read(Write(DataSet(2, 0), true)).GetBleDataLength(), 0);
}

TEST_F(BleHwgFile, CrcIsCheckedWhenTheMarkerIsPresent)
{
    const std::string marked = Write(DataSet(1, 20), true);
    const std::string crc = marked.substr(marked.size() - 8);
    EXPECT_EQ(Read(Replaced(marked, "=" + crc, " = " + crc)).GetBleDataLength(), 20);
    EXPECT_EQ(FailureReading(Replaced(marked, "00.0D", "00.0E")),
              "BLE HWG file has been tampered: " + Path());
    EXPECT_EQ(FailureReading(Replaced(marked, "=" + crc, "")),
              "Invalid CRC line format in BLE HWG file: iEndOfHwgFile");
    EXPECT_EQ(FailureReading(marked.substr(0, marked.rfind('\n') + 1)),
              "Failed to read CRC line from BLE HWG file");
    EXPECT_EQ(Read(Replaced(Write(DataSet(1, 20), false), "00.0D", "00.0E")).GetBleData().at(1), 0x0E);
    EXPECT_EQ(FailureReading("x\n" + marked), "Invalid BLE HWG file header: " + Path());
}

TEST_F(BleHwgFile, DataLinesAreReadLeniently)
{
    EXPECT_EQ(Read(WithData("0A . 0B.. 0C\n")).GetBleData(), (Bytes{0x0A, 0x0B, 0x0C}));
    EXPECT_EQ(FailureReading(WithData("0A,0B\n")), "Invalid integer string: \"0A,0B\"");
    const std::string text = WithData("01.02\n");
    EXPECT_EQ(Read(text.substr(0, text.find("END"))).GetBleData(), (Bytes{0x01, 0x02}));
    const std::string both =
        Replaced(text, "BEGIN sFldBleData1", "BEGIN sFldBleData2\nEND sFldBleData2\nBEGIN sFldBleData1");
    EXPECT_EQ(Read(both).GetBleDataType(), BleDataType::Key);
    EXPECT_EQ(FailureReading(Replaced(text, "BEGIN sFldBleData1", "BEGIN")),
              "Could not determine BLE data type from HWG file");
    EXPECT_EQ(FailureReading(WithData(
                  []
                  {
                      std::string many;
                      for (int i = 0; i < 385; ++i)
                      {
                          many += "01.";
                      }
                      return many + "\n";
                  }())),
              "BLE data size (385) exceeds maximum allowed size (384)");
}

// Every line of a written file but the CRC line ends with a line feed, so a file that ends inside a data line
// was cut there: it fails, however much of its last byte survived. Cut inside another line, it reads no byte
// it did not hold.
TEST_F(BleHwgFile, AFileCutInsideALineReadsNoByteItDidNotHold)
{
    for (const ReaderBleConfiguration& original : {DataSet(1, 384), DataSet(2, 128)})
    {
        const std::string text = Write(original, true);
        const Bytes& whole = original.GetBleData();
        const auto check = [&](std::size_t size, bool insideValueLine)
        {
            ReaderBleConfiguration read;
            try
            {
                read = BleHwgFileParser::ReadBleConfigurationFromBleHwgFile(Path());
            }
            catch (const TessmarException&)
            {
                return;
            }
            ASSERT_EQ(read.GetBleDataType(), original.GetBleDataType()) << size;
            const Bytes& data = read.GetBleData();
            ASSERT_TRUE(insideValueLine ? data == whole
                                        : data.size() <= whole.size() &&
                                              std::equal(data.begin(), data.end(), whole.begin()))
                << size;
        };
        const auto counts = PyxTest::SweepCuts(Path(), text, PyxTest::IsDataLine, check);
        EXPECT_EQ(counts[1], whole.size() * 3 - whole.size() / 4); // inside lines of eight bytes in "XX."
    }
    const std::string text = Write(DataSet(1, 20), false);
    EXPECT_EQ(FailureReading(text.substr(0, text.find("\n\nEND"))),
              "BLE HWG file ends inside a line: " + Path());
    EXPECT_EQ(Read(text.substr(0, text.find("\nEND") + 1)).GetBleData(), DataSet(1, 20).GetBleData());
}

// Whatever versions a reader reports, the file reads back as it would with plain ones.
TEST_F(BleHwgFile, VersionTextsThatLookLikeStructureReadBackHarmlessly)
{
    for (const std::uint8_t type : {1, 2})
    {
        for (const std::string& version : PyxTest::kHostileVersions)
        {
            for (const HwgFileInfo& info :
                 {HwgFileInfo{version, "1", false}, HwgFileInfo{"1", version, false}})
            {
                for (const bool marked : {true, false})
                {
                    BleHwgFileParser::WriteBleConfigurationToBleHwgFile(DataSet(type, 20), Path(), info,
                                                                        marked);
                    EXPECT_EQ(PyxTest::Image(BleHwgFileParser::ReadBleConfigurationFromBleHwgFile(Path())),
                              PyxTest::Image(DataSet(type, 20)))
                        << version << " in data set " << int{type};
                }
            }
        }
    }
}

TEST_F(BleHwgFile, AnOversizedFileIsNeitherReadNorReplaced)
{
    PyxTest::WriteBytes(Path(), "keep");
    std::filesystem::resize_file(Path(), 10485761);
    const std::string tooLarge = "File size is too large to be a valid BLE HWG file: " + Path();
    EXPECT_EQ(FailureOf([&] { Write(DataSet(1, 1), true); }).message, tooLarge);
    EXPECT_EQ(FailureOf([&] { BleHwgFileParser::ReadBleConfigurationFromBleHwgFile(Path()); }).message,
              tooLarge);
    EXPECT_EQ(std::filesystem::file_size(Path()), 10485761U);
    EXPECT_EQ(Entries(), std::vector<std::string>{"ble.hwg"});

    // Nor is a file written that would be too large to read back.
    const std::string path = PathOf("new.hwg");
    const HwgFileInfo huge{std::string(10485760, '1'), "1", false};
    const auto write = [&]
    { BleHwgFileParser::WriteBleConfigurationToBleHwgFile(DataSet(1, 1), path, huge, false); };
    EXPECT_EQ(FailureOf(write).message, "File size is too large to be a valid BLE HWG file: " + path);
    EXPECT_EQ(Entries(), std::vector<std::string>{"ble.hwg"});
}
} // namespace
