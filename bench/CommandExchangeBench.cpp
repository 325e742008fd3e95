// What the command engine costs over the bytes it moves: one whole queued-identifier read (build the
// command, Execute, validate, decode) against the same five requests and replies pushed through the
// transport by hand. Both run over a transport that answers at once, so the difference is the engine's.

#include <benchmark/benchmark.h>

#include "Commands/WithSerialBinaryProtocol/GetQueuedIdWithSerialBinaryProtocol.h"
#include "InstantExchange.h"

namespace
{
void CommandExchange(benchmark::State& state)
{
    PyxBench::InstantTransport transport;
    for (auto _ : state)
    {
        PyxProtocol::GetQueuedIdWithSerialBinaryProtocol command(PyxBench::kQueuedIdFlags);
        command.Execute(transport);
        command.ValidateResponse();
        PyxProtocol::QueuedIdInformation info = command.GetResult();
        benchmark::DoNotOptimize(info);
    }
}
BENCHMARK(CommandExchange);
} // namespace

int main(int argc, char** argv)
{
    return PyxBench::RunAgainstDirectTransport(argc, argv, "CommandExchange", "command exchange");
}
