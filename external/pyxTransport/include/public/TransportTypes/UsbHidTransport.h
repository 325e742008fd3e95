#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Transport.h"
#include "TransportTypes/HidDevice.h"
#include "Utility/TimeDelay.h"

namespace PyxTransport
{
// Carries the FeatureReport and Mfp24 protocols to a reader on USB HID: requests go out as feature (or
// output) reports behind report id 0, responses come back as feature reports.
class UsbHidTransport : public Transport
{
public:
    enum class ConnectType : std::uint8_t
    {
        None = 0,
        VidPidSerialNumber = 1,
        UsbBusPath = 2,
    };

    // Milliseconds waited after every failed opening attempt.
    static constexpr int kRetryDelayMs = 500;

    // Refuses a definition whose protocol is not FeatureReport or Mfp24. A bus path in the definition wins
    // over its vendor id, product id and serial number. `delay` paces the opening attempts (the real clock
    // when null).
    explicit UsbHidTransport(const PyxCommon::ReaderDefinition& definition,
                             std::shared_ptr<PyxCommon::TimeDelay> delay = nullptr);
    ~UsbHidTransport() override;

    // Makes up to `retryCount` opening attempts; 0 fails at once without touching any device. A connected
    // transport is closed and opened anew.
    void init(std::uint32_t retryCount) override;
    // Reads one feature report and returns exactly `packet.Length` bytes (zero where the device sent less).
    std::vector<std::uint8_t> receive(const TransportPacket& packet) override;
    // Sends report id 0 and `packet.Data` as an output report when `ReportType` is Output, else as a
    // feature report.
    void transmit(const TransportPacket& packet) override;

    // One opening attempt by the connect type.
    void AttemptOpen();

    ConnectType GetConnectType() const { return connectType; }
    bool IsConnected() const { return connected; }

    // UTF-8 to a new zero-terminated wide text; null for a null or empty text.
    static std::unique_ptr<wchar_t[]> Utf8ToWide(const char* text);
    // Wide text to UTF-8; empty for a null or empty text.
    static std::string WideToUtf8(const wchar_t* text);

private:
    void CloseDevice();

    std::uint8_t reportId = 0;
    ConnectType connectType = ConnectType::None;
    std::unique_ptr<HidDevice> device;
    bool connected = false;
    std::uint16_t VendorId = 0;
    std::uint16_t ProductId = 0;
    std::unique_ptr<wchar_t[]> SerialNumber;
    std::unique_ptr<wchar_t[]> UsbPath;
    std::shared_ptr<PyxCommon::TimeDelay> timeDelay;
};
} // namespace PyxTransport
