// What one call of the C interface costs over the bytes it moves: PyxReader_GetBeeperVolume through the whole
// stack (result frame, handle look-up, capability guard, facade, visitor, command) against the same request
// and reply pushed through the transport by hand. The reader's transport is an in-process one that answers
// at once, installed when the reader is opened, so the difference is the library's own work. Then a soak of
// 10^5 calls, with the resident memory at its start and end.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

#include <unistd.h>

#include "ProtocolFacade.h"
#include "Reader/Reader_C.h"
#include "Transport.h"
#include "Utilities/ReaderTestSeams.h"

namespace
{
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr std::uint8_t kVolume = 2;

// Answers every request at once: a beeper-volume read with volume 2, anything else with its own bytes (so
// the metadata queries of Pyx_Init fail quickly and are skipped). Keeps the last request for the direct run.
class InstantTransport : public PyxTransport::Transport
{
public:
    explicit InstantTransport(const PyxCommon::ReaderDefinition& definition) : Transport(definition) {}
    void init(std::uint32_t) override {}
    void transmit(const PyxTransport::TransportPacket& packet) override { last_ = packet.Data; }
    std::vector<std::uint8_t> receive(const PyxTransport::TransportPacket& packet) override
    {
        Bytes reply = last_;
        for (std::size_t i = 0; i + 2 < reply.size(); ++i)
        {
            if (reply[i] == 0x8C && reply[i + 1] == 0x06)
            {
                reply[i + 2] = kVolume;
                break;
            }
        }
        if (packet.Length != 0)
        {
            reply.resize(packet.Length, 0x00);
        }
        return reply;
    }
    const Bytes& Last() const { return last_; }

private:
    Bytes last_;
};

long ResidentKilobytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

bool Failed(const PyxResult& result, const char* what)
{
    if (result.ResultCode == 0)
    {
        return false;
    }
    std::fprintf(stderr, "%s failed: %s\n", what, result.Message);
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    InstantTransport* transport = nullptr;
    PyxProtocol::ProtocolFacade::Seams seams;
    seams.MakeTransport = [&transport](const PyxCommon::ReaderDefinition& definition)
    {
        auto made = std::make_unique<InstantTransport>(definition);
        transport = made.get();
        return std::unique_ptr<PyxTransport::Transport>(std::move(made));
    };
    PyxCommon::ReaderDefinition definition{};
    definition.ProtocolType = ::ProtocolType::FeatureReport;
    auto* handle =
        static_cast<Reader_Handle*>(Pyx::Testing::CreateReaderInstanceWithSeams(definition, 1, seams));
    PyxResult result;
    Pyx_Init(&result, handle);
    if (handle == nullptr || transport == nullptr || Failed(result, "Init"))
    {
        return 1;
    }

    std::uint8_t volume = 0;
    PyxReader_GetBeeperVolume(&result, handle, &volume);
    if (Failed(result, "GetBeeperVolume") || volume != kVolume)
    {
        return 1;
    }
    const Bytes request = transport->Last();

    constexpr int kCalls = 200000;
    const auto callStart = Clock::now();
    for (int i = 0; i < kCalls; ++i)
    {
        PyxReader_GetBeeperVolume(&result, handle, &volume);
    }
    const double callNs = std::chrono::duration<double, std::nano>(Clock::now() - callStart).count() / kCalls;

    PyxTransport::TransportPacket packet;
    const auto directStart = Clock::now();
    for (int i = 0; i < kCalls; ++i)
    {
        packet.Data = request;
        packet.Length = 0;
        transport->transmit(packet);
        packet.Length = static_cast<std::uint16_t>(request.size());
        const Bytes reply = transport->receive(packet);
        if (reply.empty())
        {
            return 1;
        }
    }
    const double directNs =
        std::chrono::duration<double, std::nano>(Clock::now() - directStart).count() / kCalls;

    std::printf(
        "C call PyxReader_GetBeeperVolume %.0f ns, same bytes through the transport %.0f ns, overhead "
        "%.2f us per call\n",
        callNs, directNs, (callNs - directNs) / 1000.0);

    // A longer soak may be asked for on the command line.
    const int soakCalls = argc > 1 ? std::atoi(argv[1]) : 100000;
    const long before = ResidentKilobytes();
    for (int i = 0; i < soakCalls; ++i)
    {
        PyxReader_GetBeeperVolume(&result, handle, &volume);
        if (result.ResultCode != 0)
        {
            Failed(result, "GetBeeperVolume");
            return 1;
        }
    }
    const long after = ResidentKilobytes();
    std::printf("soak of %d C calls: resident memory %ld kB at the start, %ld kB at the end\n", soakCalls,
                before, after);

    Pyx_Close(&result, handle);
    return Failed(result, "Close") ? 1 : 0;
}
