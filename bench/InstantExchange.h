#pragma once

// What the command-exchange and facade benchmarks share: a five-page queued-identifier read over a transport
// that answers at once, the same requests and replies pushed through that transport by hand (the
// DirectTransport benchmark, registered here), and a main that closes with one benchmark's ratio to it.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Operations/CardData.h"
#include "Transport.h"

namespace PyxBench
{
using Bytes = std::vector<std::uint8_t>;

constexpr auto kQueuedIdFlags = static_cast<PyxProtocol::QueuedIdFlagParameters>(0x01);

// Answers every receive at once with the next of five canned replies.
class InstantTransport : public PyxTransport::Transport
{
public:
    explicit InstantTransport(const PyxCommon::ReaderDefinition& definition = PyxCommon::ReaderDefinition{});
    void init(std::uint32_t) override {}
    void transmit(const PyxTransport::TransportPacket& packet) override;
    std::vector<std::uint8_t> receive(const PyxTransport::TransportPacket&) override;

private:
    std::vector<Bytes> replies_;
    std::size_t next_ = 0;
};

// Runs the benchmarks the command line selects, then prints "<label> N ns, direct transport N ns, ratio R"
// for the benchmark named `name` when both it and DirectTransport ran.
int RunAgainstDirectTransport(int argc, char** argv, const char* name, const char* label);
} // namespace PyxBench
