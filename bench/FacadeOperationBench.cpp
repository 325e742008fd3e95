// What the facade costs over the bytes it moves: one queued-identifier read through the facade (registry
// look-up, operation guard, result capture, visitor, command) against the same five requests and replies
// pushed through the transport by hand. Both run over a transport that answers at once.

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "ProtocolFacade.h"
#include "Transport.h"

namespace
{
using Bytes = std::vector<std::uint8_t>;

constexpr auto kFlags = static_cast<PyxProtocol::QueuedIdFlagParameters>(0x01);

std::vector<Bytes> Requests()
{
    std::vector<Bytes> requests;
    for (std::uint8_t page = 0; page < 4; ++page)
    {
        requests.push_back({0xFA, 0x0C, 0x02, page, 0x00});
    }
    requests.push_back({0xFA, 0x0C, 0x02, 0x04, 0x01});
    return requests;
}

std::vector<Bytes> Replies()
{
    std::vector<Bytes> replies;
    for (std::uint8_t page = 0; page < 5; ++page)
    {
        Bytes reply{0x0C};
        for (std::uint8_t i = 0; i < 8; ++i)
        {
            reply.push_back(static_cast<std::uint8_t>(page * 8 + i));
        }
        reply.push_back(0x90);
        reply.push_back(0x00);
        replies.push_back(reply);
    }
    return replies;
}

// Answers every receive at once with the next of five canned replies.
class InstantTransport : public PyxTransport::Transport
{
public:
    explicit InstantTransport(const PyxCommon::ReaderDefinition& definition)
        : Transport(definition), replies_(Replies())
    {
    }
    void init(std::uint32_t) override {}
    void transmit(const PyxTransport::TransportPacket& packet) override
    {
        benchmark::DoNotOptimize(packet.Data.data());
    }
    std::vector<std::uint8_t> receive(const PyxTransport::TransportPacket&) override
    {
        const Bytes& reply = replies_[next_];
        next_ = (next_ + 1) % replies_.size();
        return reply;
    }

private:
    std::vector<Bytes> replies_;
    std::size_t next_ = 0;
};

void FacadeOperation(benchmark::State& state)
{
    PyxCommon::ReaderDefinition definition{};
    definition.ProtocolType = ProtocolType::SerialBinary;
    PyxProtocol::ProtocolFacade::Seams seams;
    seams.MakeTransport = [](const PyxCommon::ReaderDefinition& reader)
    { return std::make_unique<InstantTransport>(reader); };
    ProtocolCommandResult created{};
    const auto handle = PyxProtocol::ProtocolFacade::CreateInstance(definition, 1, &created, seams);
    if (handle == 0)
    {
        state.SkipWithError(created.Message);
        return;
    }
    for (auto _ : state)
    {
        // The reader API looks its facade up for every operation.
        const auto facade = PyxProtocol::ProtocolFacade::GetInstance(handle);
        PyxProtocol::QueuedIdInformation info{};
        const ProtocolCommandResult result = facade->GetQueuedId(kFlags, info);
        if (result.HasException)
        {
            state.SkipWithError(result.Message);
            break;
        }
        benchmark::DoNotOptimize(info);
    }
    PyxProtocol::ProtocolFacade::DestroyInstance(handle);
}
BENCHMARK(FacadeOperation);

void DirectTransport(benchmark::State& state)
{
    InstantTransport transport(PyxCommon::ReaderDefinition{});
    const std::vector<Bytes> requests = Requests();
    for (auto _ : state)
    {
        for (const Bytes& request : requests)
        {
            PyxTransport::TransportPacket packet;
            packet.Data = request;
            packet.Length = static_cast<std::uint16_t>(request.size());
            transport.transmit(packet);
            packet.Length = 8;
            Bytes reply = transport.receive(packet);
            benchmark::DoNotOptimize(reply.data());
        }
    }
}
BENCHMARK(DirectTransport);

// Prints each run as usual and keeps its time per iteration for the closing ratio.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
        {
            if (run.run_type == Run::RT_Iteration)
            {
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
    {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto facade = reporter.times.find("FacadeOperation");
    const auto direct = reporter.times.find("DirectTransport");
    if (facade != reporter.times.end() && direct != reporter.times.end() && direct->second > 0)
    {
        std::printf("facade operation %.1f ns, direct transport %.1f ns, ratio %.2f\n", facade->second,
                    direct->second, facade->second / direct->second);
    }
    return 0;
}
