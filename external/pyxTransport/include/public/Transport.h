#pragma once

#include <cstdint>
#include <vector>

#include "Structures/ReaderDefinition.h"

namespace PyxTransport
{
enum class HidReportType : std::uint8_t
{
    Output = 2,
    Feature = 3,
};

// One request to send, or the description of one response to fetch.
struct TransportPacket
{
    std::vector<std::uint8_t> Data; // bytes to send; ignored on receive
    std::uint16_t Length = 0;       // on receive: the number of response bytes expected
    HidReportType ReportType = HidReportType::Feature;
};

// A byte pipe to one reader. Not thread-safe: its owner serialises every call.
class Transport
{
public:
    explicit Transport(const PyxCommon::ReaderDefinition& definition) : definition(definition) {}
    Transport(const Transport&) = delete;
    Transport& operator=(const Transport&) = delete;

    // Opens and connects the device; throws on failure.
    virtual void init(std::uint32_t retryCount) = 0;
    // Fetches one response; `packet.Length` says how many bytes the caller expects.
    virtual std::vector<std::uint8_t> receive(const TransportPacket& packet) = 0;
    // Sends `packet.Data` as one request.
    virtual void transmit(const TransportPacket& packet) = 0;
    virtual void setReceiveDelay(std::uint32_t milliseconds) { ReceiveDelayMs = milliseconds; }
    // Releases the device.
    virtual ~Transport() = default;

    const PyxCommon::ReaderDefinition& GetDefinition() const { return definition; }
    std::uint32_t GetReceiveDelay() const { return ReceiveDelayMs; }

protected:
    PyxCommon::ReaderDefinition definition;
    std::uint32_t ReceiveDelayMs = 25;
};
} // namespace PyxTransport
