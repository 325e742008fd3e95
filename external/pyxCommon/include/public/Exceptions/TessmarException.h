#pragma once

#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>

#include "PyxExport.h"

// Base of every error the library raises. Besides the message it records where it was raised, so that
// the C interface can hand all of it to a host that cannot catch C++ exceptions.
class PYX_API TessmarException : public std::runtime_error
{
public:
    // A null message, file or function is taken as an empty text.
    TessmarException(const std::string& message, const char* file, int line, const char* function);
    TessmarException(const char* message, const char* file, int line, const char* function);
    TessmarException(const TessmarException& other);
    TessmarException& operator=(const TessmarException& other);
    ~TessmarException() override;

    const std::string& GetMessage() const { return message_; }
    const std::string& GetFileName() const { return file_; }
    int GetLineNumber() const { return line_; }
    const std::string& GetFunctionName() const { return function_; }
    const std::string& GetExceptionType() const { return exceptionType_; }

private:
    std::string message_;
    std::string file_;
    int line_ = 0;
    std::string function_;
    std::string exceptionType_;
};

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

// Refuses a value outside [lower, upper], both bounds included, with the shared range message.
template <typename T>
void ThrowExceptionForPropertyOutOfRange(const std::string& name, T value, T lower, T upper)
{
    if (value >= lower && value <= upper)
    {
        return;
    }
    std::ostringstream text;
    // Widened so that an 8-bit bound is written as digits, never as a character.
    text << name << " setting must be between " << static_cast<std::uint64_t>(lower) << " and "
         << static_cast<std::uint64_t>(upper) << " inclusive";
    throw TessmarException(text.str(), PYX_SOURCE_FILE, __LINE__, "ThrowExceptionForPropertyOutOfRange");
}
