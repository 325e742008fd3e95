// libFuzzer target: any 71-byte C image, and any five blocks from a reader, through the conversions. An
// accepted image must survive the trip through the wire blocks unchanged, apart from what no block holds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Exceptions/TessmarException.h"
#include "Reader/ReaderConfigurationConversion.h"

namespace
{
// The settings no block carries, and the reader's own block-2 settings, which the record never writes.
PyxReaderConfiguration Comparable(const PyxCommon::ReaderConfiguration& configuration)
{
    PyxReaderConfiguration image;
    std::memcpy(&image, &configuration, sizeof image);
    image.LegacyBitStreamTimeOutMs = 0;
    image.NotBootDevice = 0;
    image.ReaderSupportsReverseAllBytes = 0;
    image.ReaderSupportsAsciiExtended = 0;
    image.ReaderSupportsExtendedMode = 0;
    image.EnableDravikMode = 0;
    return image;
}

PyxProtocol::ReaderConfiguration OverTheWire(const PyxProtocol::ReaderConfiguration& blocks)
{
    using namespace PyxProtocol;
    return {ReaderConfigurationBlock1::FromVector(ReaderConfigurationBlock1::ToVector(blocks.Block1)),
            ReaderConfigurationBlock2::FromVector(ReaderConfigurationBlock2::ToVector(blocks.Block2)),
            ReaderConfigurationBlock3::FromVector(ReaderConfigurationBlock3::ToVector(blocks.Block3)),
            ReaderConfigurationBlock4::FromVector(ReaderConfigurationBlock4::ToVector(blocks.Block4)),
            ReaderConfigurationBlock5::FromVector(ReaderConfigurationBlock5::ToVector(blocks.Block5))};
}

void ImageRoundTrip(const std::uint8_t* data)
{
    PyxReaderConfiguration image;
    std::memcpy(&image, data, sizeof image);
    PyxCommon::ReaderConfiguration accepted;
    try
    {
        accepted = Pyx::FromConfigurationRecord(image);
    }
    catch (const TessmarException&)
    {
        return;
    }
    PyxCommon::ReaderConfiguration read;
    Pyx::ApplyConfigurationBlocks(OverTheWire(Pyx::ToConfigurationBlocks(accepted)), read);
    const PyxReaderConfiguration before = Comparable(accepted);
    const PyxReaderConfiguration after = Comparable(read);
    if (std::memcmp(&before, &after, sizeof before) != 0)
    {
        std::abort();
    }
}

void BlocksFromReader(const std::uint8_t* data)
{
    using namespace PyxProtocol;
    auto block = [&](std::size_t index)
    {
        return std::vector<std::uint8_t>(data + index * ConfigurationBlockSize,
                                         data + (index + 1) * ConfigurationBlockSize);
    };
    const ReaderConfiguration blocks{
        ReaderConfigurationBlock1::FromVector(block(0)), ReaderConfigurationBlock2::FromVector(block(1)),
        ReaderConfigurationBlock3::FromVector(block(2)), ReaderConfigurationBlock4::FromVector(block(3)),
        ReaderConfigurationBlock5::FromVector(block(4))};
    try
    {
        PyxCommon::ReaderConfiguration read;
        Pyx::ApplyConfigurationBlocks(blocks, read);
    }
    catch (const TessmarException&)
    {
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size >= sizeof(PyxReaderConfiguration))
    {
        ImageRoundTrip(data);
    }
    if (size >= 5 * PyxProtocol::ConfigurationBlockSize)
    {
        BlocksFromReader(data);
    }
    return 0;
}
