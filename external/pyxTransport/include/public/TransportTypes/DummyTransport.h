#pragma once

#include "Transport.h"

namespace PyxTransport
{
// A transport with no device: it logs what it is asked to do and answers nothing. For trying the layers
// above without a reader.
class DummyTransport : public Transport
{
public:
    explicit DummyTransport(const PyxCommon::ReaderDefinition& definition);
    ~DummyTransport() override;

    // Logs the definition it was made from; never fails.
    void init(std::uint32_t retryCount) override;
    // Always an empty vector.
    std::vector<std::uint8_t> receive(const TransportPacket& packet) override;
    void transmit(const TransportPacket& packet) override;
};
} // namespace PyxTransport
