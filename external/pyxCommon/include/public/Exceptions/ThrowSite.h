#pragma once

namespace PyxCommon::Detail
{
// Base name of a compile-time path: the text after the last '/' or '\'.
constexpr const char* BaseName(const char* path)
{
    const char* base = path;
    for (const char* p = path; *p != '\0'; ++p)
    {
        if (*p == '/' || *p == '\\')
        {
            base = p + 1;
        }
    }
    return base;
}
} // namespace PyxCommon::Detail

// Throw sites record the source file without its directories, so no build path ever reaches a caller.
#define PYX_SOURCE_FILE (::PyxCommon::Detail::BaseName(__FILE__))

// Throws ExceptionType(message, file, line, function) from the current throw site.
#define PYX_THROW(ExceptionType, message) throw ExceptionType((message), PYX_SOURCE_FILE, __LINE__, __func__)
