#include "ProtocolException.h"

namespace PyxProtocol
{
// Anchors the class's type information in one place, so a host catching it by type sees one identity.
ProtocolException::~ProtocolException() = default;
} // namespace PyxProtocol
