// What the facade costs over the bytes it moves: one queued-identifier read through the facade (registry
// look-up, operation guard, result capture, visitor, command) against the same five requests and replies
// pushed through the transport by hand. Both run over a transport that answers at once.

#include <memory>

#include <benchmark/benchmark.h>

#include "InstantExchange.h"
#include "ProtocolFacade.h"

namespace
{
void FacadeOperation(benchmark::State& state)
{
    PyxCommon::ReaderDefinition definition{};
    definition.ProtocolType = ProtocolType::SerialBinary;
    PyxProtocol::ProtocolFacade::Seams seams;
    seams.MakeTransport = [](const PyxCommon::ReaderDefinition& reader)
    { return std::make_unique<PyxBench::InstantTransport>(reader); };
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
        const ProtocolCommandResult result = facade->GetQueuedId(PyxBench::kQueuedIdFlags, info);
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
} // namespace

int main(int argc, char** argv)
{
    return PyxBench::RunAgainstDirectTransport(argc, argv, "FacadeOperation", "facade operation");
}
