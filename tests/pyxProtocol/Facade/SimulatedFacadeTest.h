#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "../Visitors/VisitorFactories.h"
#include "ProtocolFacade.h"
#include "SimulatedReaders.h"

namespace PyxFacadeTest
{
using PyxTest::Sim::Protocol;

// A facade created through the transport factory on a simulated reader: a umockdev hidraw node for
// FeatureReport and Mfp24, a pseudo-terminal peer for SerialBinary. Command waits are recorded, not slept.
class SimulatedFacadeTest : public ::testing::Test
{
protected:
    void Open(Protocol protocol)
    {
        if (protocol == Protocol::SerialBinary)
        {
            serial_ = std::make_unique<PyxTest::Sim::SimulatedSerialReader>(simulator_);
            definition_ = serial_->Definition();
        }
        else
        {
            testbed_ = std::make_unique<PyxTest::HidTestbed>();
            usb_ = std::make_unique<PyxTest::Sim::SimulatedUsbReader>(*testbed_, simulator_, protocol);
            definition_ = usb_->Definition();
        }
        ProtocolCommandResult result{};
        handle_ = PyxProtocol::ProtocolFacade::CreateInstance(definition_, 1, &result, {{}, PyxTest::NoWait});
        ASSERT_NE(handle_, 0u) << result.Message;
        facade_ = PyxProtocol::ProtocolFacade::GetInstance(handle_);
    }

    // Closes the reader while the fixtures behind it still stand.
    void TearDown() override { PyxProtocol::ProtocolFacade::DestroyInstance(handle_); }

    PyxTest::Sim::ReaderSimulator simulator_; // first, so it outlives the node and the peer
    std::unique_ptr<PyxTest::HidTestbed> testbed_;
    std::unique_ptr<PyxTest::Sim::SimulatedUsbReader> usb_;
    std::unique_ptr<PyxTest::Sim::SimulatedSerialReader> serial_;
    PyxCommon::ReaderDefinition definition_{};
    PyxProtocol::ProtocolFacade::Handle handle_ = 0;
    std::shared_ptr<PyxProtocol::ProtocolFacade> facade_;
};
} // namespace PyxFacadeTest
