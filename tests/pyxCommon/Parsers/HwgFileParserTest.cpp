#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

#include "ParserTestSupport.h"
#include "Utility/Parsers/HwgFileParser.h"
#include "Utility/Parsers/HwgPropertyMapping.h"

using namespace PyxCommon;

namespace
{
using PyxTest::Crc;
using PyxTest::FailureOf;
using PyxTest::Image;
using PyxTest::ReadBytes;
using PyxTest::Replaced;

const HwgFileInfo kMarked{"2.07", "1.0.0", true};

// Values that differ from field to field, so a property bound to the wrong field shows in the bytes.
ReaderConfiguration Sample(std::uint16_t cardType)
{
    ReaderConfiguration c;
    c.SetAzertyKeyboardShift(true).SetTotalStripLeadingParityCount(1).SetTotalStripTrailingParityCount(2);
    c.SetIdBitCount(16).SetExpectedBitCount(26).SetUseFixedLengthForFacAndId(true).SetStripFacFromId(true);
    c.SetUseIdAndFacDelimiter(true).SetEnableContinuousRead(true).SetIdAndFacDelimiter(45);
    c.SetTerminationCharacter(9).SetIdDigitCount(8).SetFacDigitCount(5).SetEnableExtendedMode(true);
    c.SetLegacyBitStreamTimeOutMs(100).SetDataHoldTimeMs(500).SetLockOutTimeMs(1000).SetKeyPressTimeMs(8);
    c.SetKeyReleaseTimeMs(12)
        .SetUseLeadingCharacters(true)
        .SetInvertWiegandBits(true)
        .SetEnableBeepOnCardRead(true);
    c.SetEnableHexadecimalFac(true).SetNotBootDevice(true).SetEnabledSoftwareControlledLed(true);
    c.SetEnableRedLed(1).SetEnableOemBeeper(1).SetCardType(cardType).SetHighPriorityCardType(cardType != 0);
    c.AddLeadingCharacter('A').AddLeadingCharacter('B').AddTrailingCharacter('\r').AddCardGoneCharacter(10);
    return c;
}

// One field entry and two separator entries: 116 bytes after them, in 15 lines.
ExtendedConfiguration SampleExtended()
{
    ExtendedConfiguration e;
    e.FieldSeparatorDataHeader = {1, 4, 4, 1, 2, 2, 16};
    e.FieldEntries[0] = {1, 2, 10, 0, 1, 0, 0, 0, 1, 0, 8, 16};
    e.SeparatorEntries[0] = {1, 1, 2, 3, {}};
    e.SeparatorEntries[0].SeparatorCharacters[0] = {0x2C, 0};
    e.SeparatorEntries[0].SeparatorCharacters[1] = {0x28, 0};
    e.SeparatorEntries[1] = {1, 2, 1, 5, {}};
    e.SeparatorEntries[1].SeparatorCharacters[0] = {0x04, 0x02};
    e.ApplicationData = {2, 1, 26};
    return e;
}

std::string WithCrLf(const std::string& text)
{
    std::string crLf;
    for (const char c : text)
    {
        if (c == '\n')
        {
            crLf += '\r';
        }
        crLf += c;
    }
    return crLf;
}

// A marked text with its CRC line made right again after an edit.
std::string Remarked(const std::string& text)
{
    const std::string body = text.substr(0, text.rfind("iEndOfHwgFile = "));
    return body + "iEndOfHwgFile = " + Crc(body);
}

class HwgFile : public PyxTest::ParserFileTest
{
protected:
    std::string Write(const std::vector<ReaderConfiguration>& configurations,
                      const std::vector<ExtendedConfiguration>& extended, const HwgFileInfo& info = kMarked)
    {
        HwgFileParser::WriteConfigurationToHwgFile(configurations, extended, Path(), info);
        return ReadBytes(Path());
    }
    std::string WriteOne() { return Write({Sample(0x150)}, {SampleExtended()}); }
    std::vector<HwgConfigurationEntry> Read(const std::string& text)
    {
        PyxTest::WriteBytes(Path(), text);
        return HwgFileParser::ReadConfigurationFromHwgFile(Path());
    }
    std::string FailureReading(const std::string& text)
    {
        return FailureOf([&] { Read(text); }).message;
    }
    std::string Path() const { return PathOf("config.hwg"); }
};

void ExpectEntry(const HwgConfigurationEntry& entry, ReaderConfiguration expected)
{
    expected.SetEnableRedLed(1); // any non-zero state is written as 1
    EXPECT_EQ(Image(entry.ReaderConfiguration), Image(expected));
    EXPECT_EQ(Image(entry.ExtendedConfiguration), Image(SampleExtended()));
}

TEST_F(HwgFile, OneConfigurationIsWrittenByteForByteAndReadBackWithoutCardType)
{
    PyxTest::ExpectGolden(WriteOne(), "one-configuration.hwg");
    const auto entries = HwgFileParser::ReadConfigurationFromHwgFile(Path());
    ASSERT_EQ(entries.size(), 1U);
    ExpectEntry(entries[0], Sample(0));
}

TEST_F(HwgFile, TwoConfigurationsCarryCardTypeAndPriority)
{
    ReaderConfiguration second = Sample(0x201);
    second.SetEnableRedLed(0).SetAzertyKeyboardShift(false);
    PyxTest::ExpectGolden(Write({Sample(0x150), second}, {SampleExtended(), SampleExtended()}),
                          "two-configurations.hwg");
    const auto entries = HwgFileParser::ReadConfigurationFromHwgFile(Path());
    ASSERT_EQ(entries.size(), 2U);
    ExpectEntry(entries[0], Sample(0x150));
    EXPECT_EQ(Image(entries[1].ReaderConfiguration), Image(second));
}

TEST_F(HwgFile, CrcGuardsOnlyAMarkedFile)
{
    const std::string marked = WriteOne();
    const std::string tampered = "HWG file has been tampered: " + Path();
    EXPECT_EQ(FailureReading(Replaced(marked, "iIDDispLen = 8", "iIDDispLen = 9")), tampered);
    EXPECT_EQ(FailureReading(WithCrLf(marked)), tampered);
    const std::string crc = marked.substr(marked.size() - 8);
    EXPECT_EQ(FailureReading(Replaced(marked, " = " + crc, "=" + crc)),
              "Invalid CRC line format in HWG file: iEndOfHwgFile=" + crc);
    std::string lower = crc;
    std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
    if (lower != crc)
    {
        EXPECT_EQ(FailureReading(Replaced(marked, crc, lower)), tampered);
    }
    EXPECT_EQ(FailureReading(marked.substr(0, marked.rfind('\n') + 1)),
              "Failed to read CRC line from HWG file");
    // A marker line with more after a blank is left out of the guarded text; the plain one is part of it.
    const std::string body = marked.substr(0, marked.find("/--- iEndOfHwgFile"));
    EXPECT_EQ(Read(body + "/--- iEndOfHwgFile x\niEndOfHwgFile = " + Crc(body)).size(), 1U);

    // Without the marker, nothing is checked, and carriage returns are trimmed away with the values.
    const auto entries = Read(WithCrLf(Replaced(body, "iIDDispLen = 8", "iIDDispLen = 9")));
    ASSERT_EQ(entries.size(), 1U);
    EXPECT_EQ(entries[0].ReaderConfiguration.GetIdDigitCount(), 9);
}

TEST_F(HwgFile, MalformedFilesNameWhatIsWrong)
{
    const std::string text = WriteOne();
    const std::string header = "/--- Tarnex and OEM Reader Configuration Template File ---";
    EXPECT_EQ(Read(Remarked("  " + Replaced(text, header + "\n", header + "\r\n"))).size(), 1U);
    EXPECT_EQ(FailureReading("\xEF\xBB\xBF" + text), "Invalid HWG file header: " + Path());
    EXPECT_EQ(FailureReading(""), "Invalid HWG file header: " + Path());

    EXPECT_EQ(FailureReading(Write({}, {})), "Missing property AZERTYShiftlock in HWG file");
    const std::string fixLen = "bFixLenDsp = 1     / Send as fixed length with leading zeros as needed\n";
    const std::string force = "bFrcBitCntEx = 0     / Force Rx'd bit count to be exact to be valid\n";
    EXPECT_EQ(FailureReading(Remarked(Replaced(text, fixLen + force, force + fixLen))),
              "Missing property bFrcBitCntEx in HWG file");

    for (const std::string line : {"bFixLenDsp:0", "bFixLenDsp\t0", "bFixLenDsp = 0 / any"})
    {
        const auto entries = Read(Remarked(Replaced(text, fixLen, line + "\n")));
        ASSERT_EQ(entries.size(), 1U) << line;
        EXPECT_FALSE(entries[0].ReaderConfiguration.GetUseFixedLengthForFacAndId()) << line;
    }
    EXPECT_EQ(FailureReading(Remarked(Replaced(text, fixLen, "bFixLenDsp 1\n"))),
              "Invalid property line format in HWG file: bFixLenDsp 1");
    EXPECT_EQ(FailureReading(Remarked(Replaced(text, "bStripFac = 1", "bStripFac = true"))),
              "Invalid boolean string: \"true\"");
}

// Cut short anywhere after its first configuration, a file either fails or reads as whole configurations.
TEST_F(HwgFile, AFileCutShortAfterItsFirstConfigurationReadsNothingItDidNotHold)
{
    const std::vector<ReaderConfiguration> configurations = {Sample(0x150), Sample(4660)};
    const std::string text = Write(configurations, std::vector(2, SampleExtended()));
    // From the end backwards, so each cut is the file cut once more.
    for (std::size_t size = text.size() - 1; size >= text.find("##NEXTCONFIG##"); --size)
    {
        std::filesystem::resize_file(Path(), size);
        std::vector<HwgConfigurationEntry> entries;
        try
        {
            entries = HwgFileParser::ReadConfigurationFromHwgFile(Path());
        }
        catch (const TessmarException&)
        {
            // Cut right before a separator, the configurations before it are whole and must read.
            ASSERT_NE(text.compare(size, 14, "##NEXTCONFIG##"), 0) << size;
            continue;
        }
        ASSERT_TRUE(!entries.empty() && entries.size() <= configurations.size()) << size;
        for (std::size_t i = 0; i < entries.size(); ++i)
        {
            ASSERT_EQ(Image(entries[i].ReaderConfiguration), Image(configurations[i])) << size;
            ASSERT_EQ(Image(entries[i].ExtendedConfiguration), Image(SampleExtended())) << size;
        }
    }

    // Nor is a line left out: its configuration does not borrow the next one's, and the last has no default.
    for (const std::string name : {"CardType", "CardPriority"})
    {
        for (auto at = text.find("\n" + name); at != std::string::npos; at = text.find("\n" + name, at + 1))
        {
            std::string without = text;
            without.erase(at + 1, text.find('\n', at + 1) - at);
            EXPECT_EQ(FailureReading(Remarked(without)), "Missing property " + name + " in HWG file") << at;
        }
    }
}

// Every line of a written file but the CRC line ends with a line feed, so a file that ends inside a property
// or data line was cut there: it fails, however much of the value survived. Cut inside another line, it
// reads no value it did not hold: a configuration may only lack what a shorter file lacks (its card type and
// priority, its extended section).
TEST_F(HwgFile, AFileCutInsideALineReadsNoValueItDidNotHold)
{
    const auto carriesValue = [](std::string_view line)
    {
        for (const HwgPropertyBlock& block : HwgPropertyMapping::PropertyBlocks)
        {
            for (const HwgProperty& property : block.Properties)
            {
                if (line.starts_with(property.Name))
                {
                    return true;
                }
            }
        }
        return PyxTest::IsDataLine(line);
    };
    // A single configuration carries no card type, so the first is written with none; the first of two
    // carries one of four digits, which a cut can shorten.
    for (const std::vector<ReaderConfiguration>& configurations :
         {std::vector{Sample(0)}, std::vector{Sample(4660), Sample(0x150)}})
    {
        const std::string text = Write(configurations, std::vector(configurations.size(), SampleExtended()));
        const auto check = [&](std::size_t size, bool insideValueLine)
        {
            std::vector<HwgConfigurationEntry> entries;
            try
            {
                entries = HwgFileParser::ReadConfigurationFromHwgFile(Path());
            }
            catch (const TessmarException&)
            {
                return;
            }
            ASSERT_LE(entries.size(), configurations.size()) << size;
            ASSERT_TRUE(!insideValueLine || entries.size() == configurations.size()) << size;
            for (std::size_t i = 0; i < entries.size(); ++i)
            {
                const auto read = Image(entries[i].ReaderConfiguration);
                const auto extended = Image(entries[i].ExtendedConfiguration);
                const bool whole = read == Image(configurations[i]) && extended == Image(SampleExtended());
                const bool shorter =
                    (read == Image(configurations[i]) || read == Image(Sample(0))) &&
                    (extended == Image(SampleExtended()) || extended == Image(ExtendedConfiguration{}));
                ASSERT_TRUE(whole || (!insideValueLine && shorter)) << size << " in configuration " << i;
            }
        };
        EXPECT_GT(PyxTest::SweepCuts(Path(), text, carriesValue, check)[1], 0U);
    }
    // Written whole, a last value line without its line feed reads as cut, and with it as it always did.
    const std::string text = Write({Sample(0)}, {SampleExtended()}, {"2.07", "1.0.0", false});
    EXPECT_EQ(FailureReading(text.substr(0, text.find("\n\nEND sFldSepData"))),
              "HWG file ends inside a line: " + Path());
    EXPECT_EQ(FailureReading(text.substr(0, text.find("\nbSndFac"))),
              "HWG file ends inside a line: " + Path());
    EXPECT_EQ(Read(text.substr(0, text.find("\nEND sFldSepData") + 1)).size(), 1U);
}

TEST(HwgExtendedSection, BytesMaySeparateByCommaPeriodBlankOrTab)
{
    const auto sectionOf = [](const std::vector<std::uint8_t>& bytes)
    {
        std::string text = "/ any comment\n\n";
        const char* separators[] = {".", ",", " ", "\t", " , ", ".\t"};
        for (std::size_t i = 0; i < bytes.size(); ++i)
        {
            text += StringUtils::ToHexString(bytes[i], 2) + (i % 8 == 7 ? ".\n" : separators[i % 6]);
        }
        return text + "\nEND sFldSepData\n";
    };
    std::vector<std::uint8_t> bytes = SampleExtended().ToVector();
    std::istringstream section(sectionOf(bytes) + "not read");
    EXPECT_EQ(Image(HwgFileParser::ExtractExtendedConfiguration(section)), Image(SampleExtended()));

    const auto failureOf = [](const std::string& lines)
    {
        std::istringstream stream(lines + "END sFldSepData\n");
        return FailureOf([&] { HwgFileParser::ExtractExtendedConfiguration(stream); }).message;
    };
    bytes.pop_back();
    EXPECT_EQ(failureOf(sectionOf(bytes)),
              "Invalid extended configuration data size in HWG file: expected 128 bytes, got 127 bytes");
    std::istringstream empty("END sFldSepData\n");
    EXPECT_EQ(FailureOf([&] { HwgFileParser::ExtractExtendedConfiguration(empty); }).function,
              "ExtractExtendedConfiguration");
    EXPECT_EQ(failureOf("04..5F\n"), "Invalid integer string: \"\"");
    EXPECT_EQ(failureOf("04;5F\n"), "Invalid integer string: \"04;5F\"");
}

TEST_F(HwgFile, LinesAfterTheCrcLineAreNotRead)
{
    const auto entries = Read(WriteOne() + "\nCardType: 5 / Card type code\nCardPriority: 1 / x\n");
    ASSERT_EQ(entries.size(), 1U);
    EXPECT_EQ(entries[0].ReaderConfiguration.GetCardType(), 0);
    EXPECT_FALSE(entries[0].ReaderConfiguration.GetHighPriorityCardType());
}

TEST_F(HwgFile, ReaderVersionTextsLoseTheirControlCharacters)
{
    const std::string text = Write({ReaderConfiguration{}}, {SampleExtended()},
                                   {"2.07\r\nAZERTYShiftlock = 1", "1.0\t0\x7F", true});
    EXPECT_NE(text.find("\nLibraryVersion = 1.00\nDeviceFirmwareVersion = 2.07AZERTYShiftlock = 1\n"),
              std::string::npos);
    EXPECT_FALSE(HwgFileParser::ReadConfigurationFromHwgFile(Path())
                     .at(0)
                     .ReaderConfiguration.GetAzertyKeyboardShift());
}

// Whatever versions a reader reports, the file reads back as it would with plain ones.
TEST_F(HwgFile, VersionTextsThatLookLikeStructureReadBackHarmlessly)
{
    const auto readBack = [&](const HwgFileInfo& info, std::size_t count)
    {
        Write(std::vector(count, Sample(0x150)), std::vector(count, SampleExtended()), info);
        PyxTest::Bytes bytes;
        for (const auto& entry : HwgFileParser::ReadConfigurationFromHwgFile(Path()))
        {
            for (const auto& image : {Image(entry.ReaderConfiguration), Image(entry.ExtendedConfiguration)})
            {
                bytes.insert(bytes.end(), image.begin(), image.end());
            }
        }
        return bytes;
    };
    for (const std::size_t count : {1U, 2U})
    {
        for (const bool marked : {true, false})
        {
            const auto expected = readBack({"2.07", "1.0.0", marked}, count);
            for (const std::string& version : PyxTest::kHostileVersions)
            {
                const auto what = version + (marked ? ", marked, " : ", unmarked, ") + std::to_string(count);
                EXPECT_EQ(readBack({version, "1", marked}, count), expected) << what;
                EXPECT_EQ(readBack({"1", version, marked}, count), expected) << what;
            }
        }
    }
    // Broken up where it would be taken for structure, and otherwise kept as the reader gave it.
    const std::string text =
        Write({Sample(0)}, {SampleExtended()}, {"2.0 ##NEXTCONFIG## /--- iEndOfHwgFile", "1", true});
    EXPECT_NE(text.find("\nDeviceFirmwareVersion = 2.0 #_#NEXTCONFIG## /--- i_EndOfHwgFile\n"),
              std::string::npos);
}

TEST_F(HwgFile, RefusedWritesLeaveTheOldFileAsItWas)
{
    const std::string old = WriteOne();
    ExtendedConfiguration tooMany = SampleExtended();
    tooMany.FieldSeparatorDataHeader.FieldEntryCount = 31;
    tooMany.FieldSeparatorDataHeader.SeparatorEntryCount = 31;
    EXPECT_EQ(FailureOf([&] { Write({Sample(0)}, {tooMany}); }).message,
              "Extended configuration does not fit in 128 bytes: 31 field entries and 31 separator entries");
    EXPECT_EQ(FailureOf([&] { Write({Sample(0)}, {}); }).message,
              "The number of configurations and extended configurations must be the same.");
    EXPECT_EQ(
        FailureOf([&] { HwgFileParser::WriteConfigurationToHwgFile({}, {}, folder_.string(), kMarked); })
            .message,
        "Failed to open HWG file for writing: " + folder_.string());
    EXPECT_EQ(
        FailureOf([&] { HwgFileParser::WriteConfigurationToHwgFile({}, {}, PathOf("none/x.hwg"), kMarked); })
            .message,
        "Failed to open HWG file for writing: " + PathOf("none/x.hwg"));
    // A file too large for the reader is no backup.
    const HwgFileInfo huge{std::string(10485760, '1'), "1", true};
    EXPECT_EQ(FailureOf([&] { Write({}, {}, huge); }).message,
              "File size is too large to be a valid HWG file: " + Path());
    EXPECT_EQ(ReadBytes(Path()), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"config.hwg"});
}

// A reader holds at most 255 configurations: the writer makes no file with more, and the reader takes none.
TEST_F(HwgFile, MoreConfigurationsThanAReaderHoldsAreNeitherWrittenNorRead)
{
    const std::string most =
        Write(std::vector(255, Sample(0x150)), std::vector(255, SampleExtended()), {"2.07", "1.0.0", false});
    EXPECT_EQ(HwgFileParser::ReadConfigurationFromHwgFile(Path()).size(), 255U);
    EXPECT_EQ(FailureOf([&] { Write(std::vector(256, Sample(0x150)), std::vector(256, SampleExtended())); })
                  .message,
              "Cannot write more than 255 configurations to an HWG file: " + Path());
    EXPECT_TRUE(ReadBytes(Path()) == most) << "the old file changed"; // too large to print
    EXPECT_EQ(Entries(), std::vector<std::string>{"config.hwg"});

    // One configuration more, as the writer would have laid it out.
    const auto second = most.find("##NEXTCONFIG##\n") + 15;
    const std::string one = most.substr(second, most.find("##NEXTCONFIG##\n", second) + 15 - second);
    EXPECT_EQ(FailureReading(most + one), "HWG file holds more than 255 configurations: " + Path());
}

// The file-size limit of the process stands in for a full disk: the write fails part way.
TEST_F(HwgFile, AWriteThatFailsPartWayKeepsTheOldFileAndNoTemporaryOne)
{
    const std::string old = WriteOne();
    const auto writeUnderLimit = [&]
    {
        const rlimit limit{512, 512};
        std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const auto failure = FailureOf(
            [&] {
                Write({Sample(1), Sample(2)}, {SampleExtended(), SampleExtended()});
            });
        const bool failedClearly =
            failure.message.rfind("Failed to write HWG file: " + Path() + " (", 0) == 0;
        const bool kept = ReadBytes(Path()) == old && Entries() == std::vector<std::string>{"config.hwg"};
        std::_Exit(failedClearly && kept ? 0 : 1);
    };
    EXPECT_EXIT(writeUnderLimit(), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadBytes(Path()), old);
}

TEST_F(HwgFile, OnlyRegularFilesWithinTheLimitAreRead)
{
    const std::string fifo = PathOf("fifo.hwg");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(FailureOf([&] { HwgFileParser::ReadConfigurationFromHwgFile(fifo); }).message,
              "Not a regular file: " + fifo);
    EXPECT_EQ(FailureOf([] { HwgFileParser::ReadConfigurationFromHwgFile("/dev/null"); }).message,
              "Not a regular file: /dev/null");
    WriteOne();
    std::filesystem::resize_file(Path(), 10485761);
    EXPECT_EQ(FailureOf([&] { HwgFileParser::ReadConfigurationFromHwgFile(Path()); }).message,
              "File size is too large to be a valid HWG file: " + Path());
    EXPECT_EQ(FailureOf([&] { HwgFileParser::ReadConfigurationFromHwgFile(PathOf("missing.hwg")); }).message,
              "Failed to open HWG file: " + PathOf("missing.hwg"));
}
} // namespace
