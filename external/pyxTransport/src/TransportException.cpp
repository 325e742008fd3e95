#include "TransportException.h"

namespace PyxTransport
{
// Anchors the class's type information in one place, so a host catching it by type sees one identity.
TransportException::~TransportException() = default;
} // namespace PyxTransport
