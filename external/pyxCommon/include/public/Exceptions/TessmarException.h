#pragma once

#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>

#include "Exceptions/ThrowSite.h"
#include "PyxExport.h"

// Base of every error the library raises; it records where it was raised, for hosts that cannot catch.
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
    // Callers see this line in their result records; it is a fixed number, whatever the layout of this file.
    constexpr int kLinePropertyOutOfRange = 48;
    throw TessmarException(text.str(), PYX_SOURCE_FILE, kLinePropertyOutOfRange,
                           "ThrowExceptionForPropertyOutOfRange");
}
