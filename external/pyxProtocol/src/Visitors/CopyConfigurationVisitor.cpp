#include "Visitors/CopyConfigurationVisitor.h"

#include "Commands/WithFeatureReportProtocol/CopyConfigurationWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/CopyConfigurationWithMfp24Protocol.h"
#include "Commands/WithSerialBinaryProtocol/CopyConfigurationWithSerialBinaryProtocol.h"

namespace PyxProtocol
{
namespace
{
std::uint8_t LowByte(std::uint16_t value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}
} // namespace

CopyConfigurationVisitor::CopyConfigurationVisitor(ConfigurationLocation source,
                                                   ConfigurationLocation destination, std::uint16_t value1,
                                                   std::uint16_t value2,
                                                   std::unique_ptr<PyxCommon::TimeDelay> serialDelay)
    : _source(source), _destination(destination), _value1(value1), _value2(value2),
      _serialDelay(std::move(serialDelay))
{
}

void CopyConfigurationVisitor::ValidateArguments()
{
    if (_source == _destination)
    {
        PYX_THROW(ProtocolException,
                  "Source and destination for CopyConfiguration command cannot be the same.");
    }
    if (_destination == ConfigurationLocation::FactoryDefaults)
    {
        PYX_THROW(ProtocolException, "Destination for CopyConfiguration command cannot be FactoryDefaults.");
    }
    if (_source == ConfigurationLocation::FactoryDefaults && _destination == ConfigurationLocation::RAM)
    {
        PYX_THROW(ProtocolException, "Factory Defaults configuration cannot be copied to RAM.");
    }
}

void CopyConfigurationVisitor::ValidateArgumentsForFeatureReportProtocol() const
{
    if (_source == _destination)
    {
        PYX_THROW(ProtocolException,
                  "Source and destination for CopyConfiguration command cannot be the same.");
    }
    if (_destination == ConfigurationLocation::FactoryDefaults)
    {
        PYX_THROW(ProtocolException, "Destination for CopyConfiguration command cannot be FactoryDefaults.");
    }
}

void CopyConfigurationVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    CopyConfigurationWithSerialBinaryProtocol command(_source, _destination, LowByte(_value1),
                                                      LowByte(_value2), std::move(_serialDelay));
    command.Execute(transport);
    command.ValidateResponse();
}

void CopyConfigurationVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    CopyConfigurationWithMfp24Protocol command(_source, _destination);
    command.Execute(transport);
    command.ValidateResponse();
}

void CopyConfigurationVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArgumentsForFeatureReportProtocol();
    CopyConfigurationWithFeatureReportProtocol command(_source, _destination, LowByte(_value1),
                                                       LowByte(_value2));
    command.Execute(transport);
    command.ValidateResponse();
}
} // namespace PyxProtocol
