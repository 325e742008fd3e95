#include "TransportFactory.h"

#include "TransportException.h"
#include "TransportTypes/DummyTransport.h"
#include "TransportTypes/PosixComPort.h"
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
        auto transport = std::make_unique<SerialTransport>(definition, std::make_unique<PosixComPort>());
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
