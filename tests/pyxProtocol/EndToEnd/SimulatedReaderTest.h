#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ProtocolException.h"
#include "SimulatedReaders.h"
#include "TransportFactory.h"

namespace PyxTest
{
// A simulated reader opened through the transport factory, as the library opens a real one: a umockdev
// hidraw node for FeatureReport and Mfp24, a pseudo-terminal peer for SerialBinary.
template <typename Base = ::testing::Test> class SimulatedReaderTest : public Base
{
protected:
    void Open(Sim::Protocol protocol)
    {
        PyxCommon::ReaderDefinition definition{};
        if (protocol == Sim::Protocol::SerialBinary)
        {
            serial_ = std::make_unique<Sim::SimulatedSerialReader>(simulator_);
            definition = serial_->Definition();
        }
        else
        {
            testbed_ = std::make_unique<HidTestbed>();
            usb_ = std::make_unique<Sim::SimulatedUsbReader>(*testbed_, simulator_, protocol);
            definition = usb_->Definition();
        }
        transport_ = PyxTransport::TransportFactory::CreateTransport(definition);
        transport_->init(1);
    }

    // The message of the ProtocolException that `action` ends with ("" when none).
    template <typename Action> static std::string FailureOf(Action&& action)
    {
        try
        {
            action();
        }
        catch (const PyxProtocol::ProtocolException& error)
        {
            return error.GetMessage();
        }
        return "";
    }

    // Declared first, so it outlives the node and the peer that call into it.
    Sim::ReaderSimulator simulator_;
    std::unique_ptr<HidTestbed> testbed_;
    std::unique_ptr<Sim::SimulatedUsbReader> usb_;
    std::unique_ptr<Sim::SimulatedSerialReader> serial_;
    std::unique_ptr<PyxTransport::Transport> transport_;
};

// `Fixture` with a reader of `protocol` opened before each test.
template <Sim::Protocol protocol, typename Fixture> class OpenedOn : public Fixture
{
protected:
    void SetUp() override { this->Open(protocol); }
};
} // namespace PyxTest
