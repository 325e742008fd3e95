#include <cstdint>
#include <cstring>

#include "Exceptions/TessmarException.h"
#include "FuzzInput.h"
#include "Utility/Parsers/HwgFileParser.h"

using PyxCommon::HwgFileParser;

namespace
{
bool SameBytes(const auto& a, const auto& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}
} // namespace

// Refusals are TessmarExceptions; anything else escaping, a sanitizer report or a leak is a finding. What is
// read is written back and read again, and must come back the same (a single configuration carries no card
// type, so those round trips are not compared, nor those of an extended configuration that is not valid).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text =
        PyxFuzz::WithFixedCrc(std::string_view(reinterpret_cast<const char*>(data), size), PyxFuzz::kHwgCrc);
    std::vector<HwgConfigurationEntry> entries;
    try
    {
        entries = HwgFileParser::ReadConfigurationFromHwgFile(PyxFuzz::WriteInputFile(text));
    }
    catch (const TessmarException&)
    {
        return 0;
    }
    if (entries.size() < 2)
    {
        return 0;
    }
    // Only a valid extended configuration is the same block when written and read back.
    try
    {
        for (const auto& entry : entries)
        {
            entry.ExtendedConfiguration.Validate();
        }
    }
    catch (const TessmarException&)
    {
        return 0;
    }
    std::vector<PyxCommon::ReaderConfiguration> configurations;
    std::vector<PyxCommon::ExtendedConfiguration> extended;
    for (const auto& entry : entries)
    {
        configurations.push_back(entry.ReaderConfiguration);
        extended.push_back(entry.ExtendedConfiguration);
    }
    const std::string copy = PyxFuzz::WriteInputFile("", 1);
    HwgFileParser::WriteConfigurationToHwgFile(configurations, extended, copy, {"fw", "lib", true});
    const auto again = HwgFileParser::ReadConfigurationFromHwgFile(copy);
    if (again.size() != entries.size())
    {
        PyxFuzz::Fail("the written file holds another number of configurations");
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
    {
        if (!SameBytes(again[i].ReaderConfiguration, entries[i].ReaderConfiguration) ||
            !SameBytes(again[i].ExtendedConfiguration, entries[i].ExtendedConfiguration))
        {
            PyxFuzz::Fail("a configuration changed in a write and read");
        }
    }
    return 0;
}
