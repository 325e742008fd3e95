#include "TransportFactory.h"

#include "TransportException.h"
#include "TransportPlatform.h"
#include "TransportTypes/DummyTransport.h"
#include "TransportTypes/SerialTransport.h"
#include "TransportTypes/UsbHidTransport.h"

namespace PyxTransport
{
std::unique_ptr<Transport> TransportFactory::CreateTransport(const PyxCommon::ReaderDefinition& definition)
{
    switch (definition.ProtocolType)
    {
    case ProtocolType::SerialBinary:
    {
        auto transport = std::make_unique<SerialTransport>(definition, Platform::NewSerialPort());
        SerialTransport::validatePortSettings(definition.SerialPortSettings);
        return transport;
    }
    case ProtocolType::FeatureReport:
    case ProtocolType::Mfp24:
        return std::make_unique<UsbHidTransport>(definition);
    case ProtocolType::Dummy:
        return std::make_unique<DummyTransport>(definition);
    default:
        break;
    }
    PYX_THROW(TransportException, "Protocol type not supported by any transport");
}
} // namespace PyxTransport
