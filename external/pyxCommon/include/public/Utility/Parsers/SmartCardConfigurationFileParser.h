#pragma once

#include <istream>
#include <string>
#include <vector>

#include "Structures/SmartCardConfiguration.h"

namespace PyxCommon
{
// Reads smart-card .ini files: configuration blobs as hexadecimal header and data lines, closed by "[EOF]"
// and a CRC-32 line that is always checked. The library never writes them.
class SmartCardConfigurationFileParser
{
public:
    SmartCardConfigurationFileParser() = delete;

    // One record per blob, in file order.
    static std::vector<SmartCardConfiguration> ReadConfigurationFromSmartCardIniFile(const std::string& path);

private:
    static std::string readCrcContent(std::istream& stream);
    static bool validateCrc(std::istream& stream);
    static std::string extractValue(std::istream& stream, const std::string& key);
    static SmartCardConfiguration readBlob(std::istream& stream);
    static BlobHeader parseBlobHeader(const std::string& value);
    static std::vector<std::uint8_t> parseBlobData(const std::string& value);
};
} // namespace PyxCommon
