#pragma once

#include <memory>

#include "Transport.h"

namespace PyxTransport
{
// Makes the transport that fits a reader's protocol type.
class TransportFactory
{
public:
    // Serial settings are checked before the transport is handed over; nothing is opened yet (see init).
    // Throws TransportException for a protocol type no transport carries, or for unusable serial settings.
    static std::unique_ptr<Transport> CreateTransport(const PyxCommon::ReaderDefinition& definition);
};
} // namespace PyxTransport
