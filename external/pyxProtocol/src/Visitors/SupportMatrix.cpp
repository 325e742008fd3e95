#include "Visitors/SupportMatrix.h"

#include <stdexcept>

#include "ProtocolException.h"

namespace PyxProtocol::Visitors
{
void Refuse(Operation operation, WireProtocol protocol, const char* file, int line)
{
    const char* text = RefusalText(operation, protocol);
    if (text == kServed)
    {
        throw std::logic_error("an operation was refused on a protocol that serves it");
    }
    throw ProtocolException(text, file, line, "Visit");
}
} // namespace PyxProtocol::Visitors
