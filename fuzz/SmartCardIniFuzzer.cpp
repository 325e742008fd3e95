#include <cstdint>

#include "Exceptions/TessmarException.h"
#include "FuzzInput.h"
#include "Utility/Parsers/SmartCardConfigurationFileParser.h"

// Refusals are TessmarExceptions; anything else escaping, a sanitizer report or a leak is a finding.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text =
        PyxFuzz::WithFixedCrc(std::string_view(reinterpret_cast<const char*>(data), size), PyxFuzz::kIniCrc);
    try
    {
        PyxCommon::SmartCardConfigurationFileParser::ReadConfigurationFromSmartCardIniFile(
            PyxFuzz::WriteInputFile(text));
    }
    catch (const TessmarException&)
    {
    }
    return 0;
}
