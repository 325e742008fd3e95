#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "Structures/BleConfiguration.h"
#include "Utility/Parsers/HwgFileParser.h"

namespace PyxCommon
{
// Reads and writes BLE .hwg files: one BLE data set of a reader as hexadecimal bytes, optionally closed by an
// end marker and a CRC-32 line. Type 1 is data set 1; every other type is written as data set 2.
class BleHwgFileParser
{
public:
    BleHwgFileParser() = delete;

    // Uses the versions of `info`; `withEndMarker` (not the info's flag) asks for the end marker and CRC
    // line. The file is replaced whole or, on failure, left as it was.
    static void WriteBleConfigurationToBleHwgFile(const ReaderBleConfiguration& configuration,
                                                  const std::string& path, const HwgFileInfo& info,
                                                  bool withEndMarker);
    // A data set of type 1 or 2; the CRC line is checked when the end marker is present.
    static ReaderBleConfiguration ReadBleConfigurationFromBleHwgFile(const std::string& path);

private:
    static std::string readCrcContent(std::istream& stream);
    static std::uint8_t detectBleDataType(std::istream& stream);
    // `path` names the file in a refusal.
    static std::vector<std::uint8_t> extractBleData(std::istream& stream, std::uint8_t dataType,
                                                    const std::string& path);
    static void writeBleDataSection(std::string& out, std::uint8_t dataSet,
                                    const std::vector<std::uint8_t>& data);
};
} // namespace PyxCommon
