#pragma once

#include <memory>

#include "Protocols/Protocol.h"
#include "Structures/ReaderDefinition.h"

namespace PyxProtocol
{
// The protocol object for a reader's protocol type: FeatureReport, Mfp24 or SerialBinary. Any other type
// (Dummy included) throws ProtocolException "Unable to initialize an underlying protocol object given
// invalid type <text form of the type>".
std::unique_ptr<Protocol> GetProtocol(ProtocolType type);
} // namespace PyxProtocol
