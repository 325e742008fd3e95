#include <gtest/gtest.h>

#include "ParserTestSupport.h"
#include "Utility/Parsers/SmartCardConfigurationFileParser.h"

using namespace PyxCommon;

namespace
{
using PyxTest::Crc;
using PyxTest::FailureOf;
using Bytes = std::vector<std::uint8_t>;

const std::string kBlob = "[Blob1]\nhdr=0F 00 3 00\ndata=0A 0B 0C\n";

class SmartCardIniFile : public PyxTest::ParserFileTest
{
protected:
    std::vector<SmartCardConfiguration> Read(const std::string& text)
    {
        PyxTest::WriteBytes(Path(), text);
        return SmartCardConfigurationFileParser::ReadConfigurationFromSmartCardIniFile(Path());
    }
    std::string FailureReading(const std::string& text)
    {
        return FailureOf([&] { Read(text); }).message;
    }
    std::string Path() const { return PathOf("card.ini"); }
};

// `body` closed as a reader's tool closes it, with the right CRC.
std::string Closed(const std::string& body)
{
    return body + "[EOF]\niEndOfIniFile=" + Crc(body) + "\n";
}

TEST_F(SmartCardIniFile, EveryBlobIsReadWithCarriageReturnsAndMixedCaseDigits)
{
    const auto blobs = SmartCardConfigurationFileParser::ReadConfigurationFromSmartCardIniFile(
        PyxTest::GoldenFile("smart-card.ini"));
    ASSERT_EQ(blobs.size(), 2U);
    EXPECT_EQ(PyxTest::Image(blobs[0].GetHeader()), (Bytes{0x0F, 0x00, 0x03, 0x00, 0x00}));
    EXPECT_EQ(blobs[0].GetBlobData(), (Bytes{0x0A, 0xFF, 0x02}));
    EXPECT_EQ(PyxTest::Image(blobs[1].GetHeader()), (Bytes{0x1B, 0xA1, 0x04, 0x00, 0xA4}));
    EXPECT_EQ(blobs[1].GetBlobData(), (Bytes{0xDE, 0xAD, 0xBE, 0xEF}));
}

// The CRC line follows every other line and guards them all, so a file cut inside any line fails.
TEST_F(SmartCardIniFile, AFileCutInsideALineFails)
{
    const std::string text = PyxTest::ReadBytes(PyxTest::GoldenFile("smart-card.ini"));
    PyxTest::WriteBytes(Path(), text);
    const auto check = [&](std::size_t size, bool)
    { EXPECT_NE(FailureOf([&] { Read(PyxTest::ReadBytes(Path())); }).message, "<no exception>") << size; };
    EXPECT_GT(PyxTest::SweepCuts(
                  Path(), text, [](std::string_view) { return true; }, check)[1],
              0U);
}

TEST_F(SmartCardIniFile, TheCrcLineIsAlwaysRequiredAndChecked)
{
    EXPECT_EQ(FailureReading(kBlob), "Failed to read iEndOfIniFile from Ini file");
    EXPECT_EQ(FailureReading(kBlob + "[EOF]\n"), "Failed to read iEndOfIniFile from Ini file");
    const std::string crc = Crc(kBlob);
    EXPECT_EQ(FailureReading(kBlob + "[EOF]\niEndOfIniFile = " + crc),
              "Invalid line format in Ini file: iEndOfIniFile = " + crc);
    std::string lower = crc;
    std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
    EXPECT_EQ(FailureReading(kBlob + "[EOF]\niEndOfIniFile=" + (lower == crc ? "00000000" : lower)),
              "SmartCard Ini file has been tampered: " + Path());
}

TEST_F(SmartCardIniFile, TheBlobListIsReadWholeOrRefused)
{
    EXPECT_TRUE(Read(Closed("; comment\n")).empty());
    EXPECT_TRUE(Read(Closed("")).empty());
    EXPECT_EQ(Read(Closed(kBlob + kBlob)).size(), 2U);
    // As many blobs as a reader can number, and not one more.
    std::string blobs;
    for (int i = 0; i < 256; ++i)
    {
        blobs += kBlob;
    }
    EXPECT_EQ(Read(Closed(blobs)).size(), 256U);
    EXPECT_EQ(FailureReading(Closed(blobs + kBlob)),
              "SmartCard Ini file holds more than 256 blobs: " + Path());
    // A break in the list would silently drop the blobs after it.
    EXPECT_EQ(FailureReading(Closed(kBlob + "\n" + kBlob)),
              "SmartCard Ini file has a blob after the end of its blob list: " + Path());
    EXPECT_EQ(FailureReading(Closed("; comment\n" + kBlob)),
              "SmartCard Ini file has a blob after the end of its blob list: " + Path());
}

TEST_F(SmartCardIniFile, MalformedBlobsNameWhatIsWrong)
{
    const auto failureWith = [&](const std::string& header, const std::string& data)
    { return FailureReading(Closed("[Blob1]\nhdr=" + header + "\ndata=" + data + "\n")); };
    EXPECT_EQ(failureWith("0F 00 3 00 00", "0A 0B 0C"), "Invalid Blob Header format: 0F 00 3 00 00");
    EXPECT_EQ(failureWith("0F 00  3 00", "0A 0B 0C"), "Invalid Blob Header format: 0F 00  3 00");
    EXPECT_EQ(failureWith("0F 00 3 00", "0A 0B 0C 0D"),
              "Blob data length does not match with datalength in header");
    EXPECT_EQ(failureWith("03 00 3 00", "0A 0B 0C"), "Invalid blob type for SmartCardConfiguration");
    EXPECT_EQ(failureWith("0F 00 3 00", "0A  0B 0C"), "Invalid integer string: \"\"");
    EXPECT_EQ(FailureReading(Closed("[Blob1]\nhdr =0F 00 3 00\n")),
              "Invalid line format in Ini file: hdr =0F 00 3 00");
    EXPECT_EQ(FailureReading(Closed("[Blob1]\nhdr=0F 00 3 00\n")), "Invalid line format in Ini file: [EOF]");
}
} // namespace
