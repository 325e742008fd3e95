// Writes the seed corpora of the fuzzers into <folder>/hwg, <folder>/ble, <folder>/ini, <folder>/config and
// <folder>/replies, with the library's own writers where it has them and the simulated reader's answers.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <utility>

#include "FuzzInput.h"
#include "ReplySeeds.h"
#include "Utility/Parsers/BleHwgFileParser.h"
#include "Utility/Parsers/HwgFileParser.h"

using namespace PyxCommon;

namespace
{
ExtendedConfiguration SampleExtended()
{
    ExtendedConfiguration extended;
    extended.FieldSeparatorDataHeader = {1, 4, 4, 1, 2, 2, 16};
    extended.FieldEntries[0] = {1, 2, 10, 0, 1, 0, 0, 0, 1, 0, 8, 16};
    extended.SeparatorEntries[0] = {1, 1, 2, 3, {}};
    extended.SeparatorEntries[0].SeparatorCharacters[0] = {0x2C, 0};
    extended.SeparatorEntries[0].SeparatorCharacters[1] = {0x28, 0};
    extended.SeparatorEntries[1] = {1, 2, 1, 5, {}};
    extended.SeparatorEntries[1].SeparatorCharacters[0] = {0x04, 0x02};
    extended.ApplicationData = {2, 1, 26};
    return extended;
}

ReaderConfiguration SampleConfiguration(std::uint16_t cardType)
{
    ReaderConfiguration configuration;
    configuration.SetFacDigitCount(5).SetIdDigitCount(8).SetLegacyBitStreamTimeOutMs(100).SetDataHoldTimeMs(
        500);
    configuration.SetEnableRedLed(1).SetCardType(cardType).SetHighPriorityCardType(true);
    configuration.AddLeadingCharacter('A');
    configuration.AddTrailingCharacter('\r');
    configuration.AddCardGoneCharacter(10);
    return configuration;
}

void Copy(const std::string& from, const std::filesystem::path& to)
{
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: FuzzSeeds <folder>\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    for (const char* kind : {"hwg", "ble", "ini", "config", "replies"})
    {
        std::filesystem::create_directories(root / kind);
    }
    const std::string scratch = (root / "scratch").string();

    const HwgFileInfo marked{"2.07", "1.0.0", true};
    const HwgFileInfo unmarked{"2.07", "1.0.0", false};
    HwgFileParser::WriteConfigurationToHwgFile({SampleConfiguration(0x0150)}, {SampleExtended()}, scratch,
                                               marked);
    Copy(scratch, root / "hwg" / "one-marked.hwg");
    HwgFileParser::WriteConfigurationToHwgFile({SampleConfiguration(0x0150), SampleConfiguration(0x0201)},
                                               {SampleExtended(), ExtendedConfiguration{}}, scratch, marked);
    Copy(scratch, root / "hwg" / "two-marked.hwg");
    HwgFileParser::WriteConfigurationToHwgFile({SampleConfiguration(1), SampleConfiguration(2)},
                                               {SampleExtended(), SampleExtended()}, scratch, unmarked);
    Copy(scratch, root / "hwg" / "two-unmarked.hwg");

    ReaderBleConfiguration ble;
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 20; ++i)
    {
        bytes.push_back(static_cast<std::uint8_t>(i * 13));
    }
    ble.SetBleDataType(1).SetBleData(bytes);
    BleHwgFileParser::WriteBleConfigurationToBleHwgFile(ble, scratch, marked, true);
    Copy(scratch, root / "ble" / "data-marked.hwg");
    ble.SetBleDataType(2);
    BleHwgFileParser::WriteBleConfigurationToBleHwgFile(ble, scratch, marked, false);
    Copy(scratch, root / "ble" / "key-unmarked.hwg");

    // The library never writes .ini files; this one is laid out as a reader's tool writes them.
    const std::string ini = PyxFuzz::WithFixedCrc("[Blob1]\nhdr=0F 00 3 00\ndata=0A 1B 2C\n"
                                                  "[Blob2]\nhdr=1 A1 2 A4\ndata=ff 01\n[EOF]\niEndOfIniFile=",
                                                  PyxFuzz::kIniCrc);
    std::ofstream(root / "ini" / "two-blobs.ini", std::ios::binary) << ini;

    // A configuration record is the C image the conversions take; its first 40 bytes double as five blocks.
    for (const auto& [name, configuration] : {std::pair{"default.bin", ReaderConfiguration{}},
                                              std::pair{"sample.bin", SampleConfiguration(0x0150)}})
    {
        std::ofstream(root / "config" / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(&configuration), sizeof configuration);
    }

    PyxFuzz::WriteReplySeeds(root / "replies");
    std::filesystem::remove(scratch);
    return 0;
}
