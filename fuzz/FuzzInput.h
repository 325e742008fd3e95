#pragma once

#include <string>
#include <string_view>

namespace PyxFuzz
{
// Where a CRC line stands and how it is written in one file format.
struct CrcLine
{
    std::string_view Marker;    // the line after the first line holding it is the CRC line
    bool MarkerLineCovered;     // the marker line itself is part of the guarded text
    bool MarkerWithBlankExcept; // ...unless the marker is followed by a blank there
    std::string_view Prefix;    // the CRC line up to its eight digits
};

inline constexpr CrcLine kHwgCrc{"/--- iEndOfHwgFile", true, true, "iEndOfHwgFile = "};
inline constexpr CrcLine kBleHwgCrc{"/--- iEndOfHwgFile", true, false, "iEndOfHwgFile="};
inline constexpr CrcLine kIniCrc{"[EOF]", false, false, "iEndOfIniFile="};

// Gives a mutated file the CRC its reader expects, so the mutation reaches the parser behind the check. A
// CRC line that no longer begins with its key is left as it is, so the CRC line's own errors are reached too.
std::string WithFixedCrc(std::string_view text, const CrcLine& crc);

// Writes `content` to a file of this process's own (under TMPDIR) and returns its path; `slot` tells apart
// the files one run needs at once.
std::string WriteInputFile(std::string_view content, int slot = 0);

[[noreturn]] void Fail(const char* what);
} // namespace PyxFuzz
