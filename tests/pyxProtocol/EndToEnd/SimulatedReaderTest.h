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
template <typename Base = ::testing::Test>
class SimulatedReaderTest : public Base, protected Sim::SimulatedReaderRig
{
protected:
    void Open(Sim::Protocol protocol)
    {
        transport_ = PyxTransport::TransportFactory::CreateTransport(Attach(protocol));
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

    std::unique_ptr<PyxTransport::Transport> transport_;
};

// `Fixture` with a reader of `protocol` opened before each test.
template <Sim::Protocol protocol, typename Fixture> class OpenedOn : public Fixture
{
protected:
    void SetUp() override { this->Open(protocol); }
};
} // namespace PyxTest
