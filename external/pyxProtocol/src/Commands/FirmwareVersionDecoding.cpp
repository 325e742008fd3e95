#include "Commands/FirmwareVersionDecoding.h"

#include "Commands/CommandHelpers.h"

namespace PyxProtocol::FirmwareVersionDecoding
{
namespace
{
constexpr std::size_t kClassAt = 2;
constexpr std::size_t kTypeAt = 3;
constexpr std::size_t kVersionAt = 4;
} // namespace

std::optional<MicrocontrollerFirmwareVersion> Microcontroller(const std::vector<std::uint8_t>& reply)
{
    if (!Reply::HasAtLeast(reply, kBinaryReplySize))
    {
        return std::nullopt;
    }
    return MicrocontrollerFirmwareVersion{Reply::LittleEndian32(reply, kVersionAt),
                                          Reply::ByteAt(reply, kClassAt), Reply::ByteAt(reply, kTypeAt)};
}

std::optional<FelicaSamFirmwareVersion> FelicaSam(const std::vector<std::uint8_t>& reply)
{
    if (!Reply::HasAtLeast(reply, kBinaryReplySize))
    {
        return std::nullopt;
    }
    return FelicaSamFirmwareVersion{Reply::BigEndian32(reply, kVersionAt), Reply::ByteAt(reply, kClassAt),
                                    Reply::ByteAt(reply, kTypeAt)};
}

std::optional<BluetoothFirmwareVersion> Bluetooth(const std::vector<std::uint8_t>& reply)
{
    if (!Reply::HasAtLeast(reply, kBinaryReplySize))
    {
        return std::nullopt;
    }
    return BluetoothFirmwareVersion{Reply::ByteAt(reply, 4), Reply::ByteAt(reply, 5),
                                    Reply::BigEndian16(reply, 6), Reply::ByteAt(reply, kClassAt),
                                    Reply::ByteAt(reply, kTypeAt)};
}

std::optional<BluetoothFirmwareVersion> BluetoothMfp24(const std::vector<std::uint8_t>& reply,
                                                       FirmwareVersionModuleType requestedType)
{
    if (!Reply::HasAtLeast(reply, kMfp24BluetoothReplySize))
    {
        return std::nullopt;
    }
    return BluetoothFirmwareVersion{Reply::BigEndian32(reply, 5), Reply::BigEndian32(reply, 9), 0,
                                    kBluetoothClass, static_cast<std::uint8_t>(requestedType)};
}
} // namespace PyxProtocol::FirmwareVersionDecoding
