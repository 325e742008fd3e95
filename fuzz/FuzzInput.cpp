#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "Utility/StringUtils.h"

namespace PyxFuzz
{
std::string WithFixedCrc(std::string_view text, const CrcLine& crc)
{
    const auto at = text.find(crc.Marker);
    if (at == std::string_view::npos)
    {
        return std::string(text);
    }
    const auto lineStart = text.rfind('\n', at) == std::string_view::npos ? 0 : text.rfind('\n', at) + 1;
    const auto lineEnd = text.find('\n', at);
    const std::string_view markerLine =
        text.substr(lineStart, (lineEnd == std::string_view::npos ? text.size() : lineEnd) - lineStart);

    std::string guarded(text.substr(0, lineStart));
    const bool excepted =
        crc.MarkerWithBlankExcept && markerLine.find(std::string(crc.Marker) + " ") != std::string_view::npos;
    if (crc.MarkerLineCovered && !excepted)
    {
        guarded.append(markerLine).append("\n");
    }

    std::string fixed(text.substr(0, lineStart));
    fixed.append(markerLine).append("\n");
    std::string_view rest = lineEnd == std::string_view::npos ? std::string_view() : text.substr(lineEnd + 1);
    const auto crcEnd = rest.find('\n');
    const std::string_view crcLine = rest.substr(0, crcEnd);
    const std::string_view key = crc.Prefix.substr(0, crc.Prefix.find_first_of(" ="));
    if (!crcLine.empty() && crcLine.substr(0, key.size()) != key)
    {
        return std::string(text);
    }
    const auto value = PyxCommon::StringUtils::Crc32Value(
        reinterpret_cast<const std::uint8_t*>(guarded.data()), guarded.size());
    fixed.append(crc.Prefix).append(PyxCommon::StringUtils::ToHexString(value, 8));
    if (crcEnd != std::string_view::npos)
    {
        fixed.append(rest.substr(crcEnd));
    }
    return fixed;
}

std::string WriteInputFile(std::string_view content, int slot)
{
    const auto path = std::filesystem::temp_directory_path() /
                      ("pyx-fuzz-" + std::to_string(::getpid()) + "-" + std::to_string(slot));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out)
    {
        Fail("cannot write the input file");
    }
    return path.string();
}

void Fail(const char* what)
{
    std::fprintf(stderr, "finding: %s\n", what);
    std::abort();
}
} // namespace PyxFuzz
