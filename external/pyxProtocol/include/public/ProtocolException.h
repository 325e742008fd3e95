#pragma once

#include <string>

#include "Exceptions/TessmarException.h"

namespace PyxProtocol
{
// A failure of the protocol layer: an unsupported protocol or operation, a refused argument or a reply that
// does not decode. Keeps the base's exception-type text, so results built from it report "TessmarException".
class PYX_API ProtocolException : public TessmarException
{
public:
    ProtocolException(const char* message, const char* file, int line, const char* function)
        : TessmarException(message, file, line, function)
    {
    }
    ProtocolException(const std::string& message, const char* file, int line, const char* function)
        : TessmarException(message, file, line, function)
    {
    }
    ProtocolException(const ProtocolException&) = default;
    ~ProtocolException() override;
};
} // namespace PyxProtocol
