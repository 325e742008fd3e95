#include "InstantExchange.h"

#include <cstdio>
#include <map>
#include <string>

#include <benchmark/benchmark.h>

namespace PyxBench
{
namespace
{
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

void DirectTransport(benchmark::State& state)
{
    InstantTransport transport;
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

InstantTransport::InstantTransport(const PyxCommon::ReaderDefinition& definition)
    : Transport(definition), replies_(Replies())
{
}

void InstantTransport::transmit(const PyxTransport::TransportPacket& packet)
{
    benchmark::DoNotOptimize(packet.Data.data());
}

std::vector<std::uint8_t> InstantTransport::receive(const PyxTransport::TransportPacket&)
{
    const Bytes& reply = replies_[next_];
    next_ = (next_ + 1) % replies_.size();
    return reply;
}

int RunAgainstDirectTransport(int argc, char** argv, const char* name, const char* label)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
    {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto measured = reporter.times.find(name);
    const auto direct = reporter.times.find("DirectTransport");
    if (measured != reporter.times.end() && direct != reporter.times.end() && direct->second > 0)
    {
        std::printf("%s %.1f ns, direct transport %.1f ns, ratio %.2f\n", label, measured->second,
                    direct->second, measured->second / direct->second);
    }
    return 0;
}
} // namespace PyxBench
