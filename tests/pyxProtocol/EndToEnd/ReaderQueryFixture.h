#pragma once

// The identification, firmware-version, supported-cards and reader-control commands through the real
// transports (hidapi on a umockdev node, the serial port on a pseudo-terminal), with the reader simulator
// answering.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ProtocolException.h"
#include "SimulatedReaders.h"
#include "TransportFactory.h"

namespace PyxReaderQueries
{
using PyxTest::HidTestbed;
using PyxTest::Sim::Bytes;
using PyxTest::Sim::Fault;
using PyxTest::Sim::Protocol;
using PyxTest::Sim::ReaderModel;
using PyxTest::Sim::ReaderSimulator;

class ReaderQueryEndToEnd : public ::testing::Test
{
protected:
    // Opens a simulated reader of `protocol` through the transport factory, as the library opens a real one.
    void Open(Protocol protocol)
    {
        PyxCommon::ReaderDefinition definition{};
        if (protocol == Protocol::SerialBinary)
        {
            serial_ = std::make_unique<PyxTest::Sim::SimulatedSerialReader>(simulator_);
            definition = serial_->Definition();
        }
        else
        {
            testbed_ = std::make_unique<HidTestbed>();
            usb_ = std::make_unique<PyxTest::Sim::SimulatedUsbReader>(*testbed_, simulator_, protocol);
            definition = usb_->Definition();
        }
        transport_ = PyxTransport::TransportFactory::CreateTransport(definition);
        transport_->init(1);
    }

    // Runs the whole exchange of `command`; its checks and result are the caller's.
    template <typename C> void Run(C& command) { command.Execute(*transport_); }

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
    ReaderSimulator simulator_;
    std::unique_ptr<HidTestbed> testbed_;
    std::unique_ptr<PyxTest::Sim::SimulatedUsbReader> usb_;
    std::unique_ptr<PyxTest::Sim::SimulatedSerialReader> serial_;
    std::unique_ptr<PyxTransport::Transport> transport_;
};
} // namespace PyxReaderQueries
