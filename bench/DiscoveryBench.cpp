// How long one discovery takes on a machine with 50 HID interfaces (half of them supported readers): the
// real libudev walk and the supported-device filter. Run under umockdev-run, which provides the devices:
//   umockdev-run -- build/bench/pyxDiscoveryBench

#include <cstdio>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include "HidTestbed.h"
#include "ProtocolFacade.h"

namespace
{
constexpr int kInterfaces = 50;

void Discovery(benchmark::State& state)
{
    PyxTest::HidTestbed testbed;
    for (int i = 0; i < kInterfaces; ++i)
    {
        PyxTest::HidTestbed::UsbDevice device;
        device.port = fmt::format("1-{}", i + 1);
        // Every other device is one of ours; the rest are someone else's.
        device.vendorId = i % 2 == 0 ? 0xFFFF : 0x1A2B;
        device.productId = static_cast<std::uint16_t>(0xA001 + i % 17);
        device.product = "Device";
        device.serial = fmt::format("S{}", i);
        testbed.AddUsbHidDevice(device, fmt::format("hidraw{}", i));
    }
    std::vector<PyxCommon::ReaderDefinition> readers;
    for (auto _ : state)
    {
        const ProtocolCommandResult result = PyxProtocol::ProtocolFacade::DiscoverUsbReaders(readers);
        if (result.HasException || readers.size() != kInterfaces / 2)
        {
            state.SkipWithError("discovery did not find the testbed's readers (run under umockdev-run)");
            break;
        }
        benchmark::DoNotOptimize(readers.data());
    }
}
BENCHMARK(Discovery)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
