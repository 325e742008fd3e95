#include "Exceptions/TessmarException.h"

namespace
{
const char* OrEmpty(const char* text)
{
    return text != nullptr ? text : "";
}
} // namespace

TessmarException::TessmarException(const std::string& message, const char* file, int line,
                                   const char* function)
    : std::runtime_error(message), message_(message), file_(OrEmpty(file)), line_(line),
      function_(OrEmpty(function)), exceptionType_("TessmarException")
{
}

TessmarException::TessmarException(const char* message, const char* file, int line, const char* function)
    : TessmarException(std::string(OrEmpty(message)), file, line, function)
{
}

TessmarException::TessmarException(const TessmarException& other) = default;
TessmarException& TessmarException::operator=(const TessmarException& other) = default;
TessmarException::~TessmarException() = default;
