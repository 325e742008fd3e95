#pragma once

namespace PyxTransport
{
class Transport;
}

namespace PyxProtocol
{
class CommandVisitor;

// The wire protocol a reader speaks. A protocol object holds no state: it only routes an operation's
// visitor to the visitor's overload for this protocol, so one object serves every operation of a reader.
class Protocol
{
public:
    Protocol() = default;
    virtual ~Protocol() = default;
    Protocol(const Protocol&) = delete;
    Protocol& operator=(const Protocol&) = delete;

    // Calls visitor.Visit(*this as the concrete protocol, transport); every exception passes through.
    virtual void Accept(CommandVisitor& visitor, PyxTransport::Transport& transport) = 0;
};

// 8-byte USB HID feature reports.
class FeatureReportProtocol final : public Protocol
{
public:
    ~FeatureReportProtocol() override;
    void Accept(CommandVisitor& visitor, PyxTransport::Transport& transport) override;
};

// 24-character ASCII lines carried in USB HID feature reports.
class Mfp24Protocol final : public Protocol
{
public:
    ~Mfp24Protocol() override;
    void Accept(CommandVisitor& visitor, PyxTransport::Transport& transport) override;
};

// 0xFA-headed binary frames with status words over a serial port.
class SerialBinaryProtocol final : public Protocol
{
public:
    ~SerialBinaryProtocol() override;
    void Accept(CommandVisitor& visitor, PyxTransport::Transport& transport) override;
};
} // namespace PyxProtocol
