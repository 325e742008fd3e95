#pragma once

#include <string>

#include "Exceptions/TessmarException.h"

namespace PyxTransport
{
// A transport's own failure; caught apart from the other library errors, with the same fields.
class PYX_API TransportException : public TessmarException
{
public:
    TransportException(const char* message, const char* file, int line, const char* function)
        : TessmarException(message, file, line, function)
    {
    }
    TransportException(const std::string& message, const char* file, int line, const char* function)
        : TessmarException(message, file, line, function)
    {
    }
    TransportException(const TransportException&) = default;
    ~TransportException() override;
};
} // namespace PyxTransport
