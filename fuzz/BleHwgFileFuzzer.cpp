#include <cstdint>

#include "Exceptions/TessmarException.h"
#include "FuzzInput.h"
#include "Utility/Parsers/BleHwgFileParser.h"

using PyxCommon::BleHwgFileParser;

// Refusals are TessmarExceptions; anything else escaping, a sanitizer report or a leak is a finding. What is
// read is written back and read again, and must come back the same.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = PyxFuzz::WithFixedCrc(
        std::string_view(reinterpret_cast<const char*>(data), size), PyxFuzz::kBleHwgCrc);
    PyxCommon::ReaderBleConfiguration configuration;
    try
    {
        configuration = BleHwgFileParser::ReadBleConfigurationFromBleHwgFile(PyxFuzz::WriteInputFile(text));
    }
    catch (const TessmarException&)
    {
        return 0;
    }
    const std::string copy = PyxFuzz::WriteInputFile("", 1);
    BleHwgFileParser::WriteBleConfigurationToBleHwgFile(configuration, copy, {"fw", "lib", false}, true);
    const auto again = BleHwgFileParser::ReadBleConfigurationFromBleHwgFile(copy);
    if (again.GetBleDataType() != configuration.GetBleDataType() ||
        again.GetBleData() != configuration.GetBleData())
    {
        PyxFuzz::Fail("a BLE data set changed in a write and read");
    }
    return 0;
}
