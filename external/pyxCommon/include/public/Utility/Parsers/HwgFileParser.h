#pragma once

#include <istream>
#include <string>
#include <vector>

#include "Structures/Configuration.h"
#include "Structures/ExtendedConfiguration.h"

// What the writer records about where a configuration came from.
struct HwgFileInfo
{
    std::string DeviceFirmwareVersion;
    std::string LibraryVersion;
    bool WithEndMarker = false; // write the end marker and the CRC line
};

// One configuration read from a .hwg file.
struct HwgConfigurationEntry
{
    PyxCommon::ExtendedConfiguration ExtendedConfiguration;
    PyxCommon::ReaderConfiguration ReaderConfiguration;
};

namespace PyxCommon
{
using ::HwgConfigurationEntry;
using ::HwgFileInfo;

// Reads and writes .hwg files: reader configurations as named properties, each with its extended
// configuration, optionally closed by an end marker and a CRC-32 line.
class HwgFileParser
{
public:
    HwgFileParser() = delete;

    // The i-th configuration is written with the i-th extended configuration. The file is replaced whole
    // or, on failure, left as it was.
    static void WriteConfigurationToHwgFile(const std::vector<ReaderConfiguration>& configurations,
                                            const std::vector<ExtendedConfiguration>& extendedConfigurations,
                                            const std::string& path, const HwgFileInfo& info);
    // One entry per configuration, in file order; the CRC line is checked when the end marker is present.
    static std::vector<HwgConfigurationEntry> ReadConfigurationFromHwgFile(const std::string& path);
    // Parses an extended section from the line after "BEGIN sFldSepData" through its END line.
    static ExtendedConfiguration ExtractExtendedConfiguration(std::istream& stream);

private:
    static std::string readCrcContent(std::istream& stream);
    static bool hasNextConfiguration(std::istream& stream);
    // `closedByCardType`: the file holds "##NEXTCONFIG##", so every configuration must end in its card type
    // and priority lines. `path` names the file in a refusal.
    static HwgConfigurationEntry extractNextConfiguration(std::istream& stream, bool closedByCardType,
                                                          const std::string& path);
    // As ExtractExtendedConfiguration; read from the file at `path` (when given), a data line that the end of
    // the file cuts is refused.
    static ExtendedConfiguration extractExtendedConfiguration(std::istream& stream, const std::string* path);
    static std::string extractPropertyValue(const std::string& line);
    static void writePropertyBlocks(std::string& out, const ReaderConfiguration& configuration);
    static void writeExtendedConfiguration(std::string& out, const ExtendedConfiguration& configuration);
    static void writeUnnamedBlock(std::string& out, const ReaderConfiguration& configuration);
};
} // namespace PyxCommon
