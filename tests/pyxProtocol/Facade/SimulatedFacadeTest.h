#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "../Visitors/VisitorFactories.h"
#include "ProtocolFacade.h"
#include "SimulatedReaders.h"

namespace PyxFacadeTest
{
using PyxTest::Sim::Protocol;

// A facade created the library's way, through the transport factory, on a simulated reader: a umockdev
// hidraw node for FeatureReport and Mfp24, a pseudo-terminal peer for SerialBinary. Command waits are
// recorded, never slept through.
class SimulatedFacadeTest : public ::testing::Test
{
protected:
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
            testbed_ = std::make_unique<PyxTest::HidTestbed>();
            usb_ = std::make_unique<PyxTest::Sim::SimulatedUsbReader>(*testbed_, simulator_, protocol);
            definition = usb_->Definition();
        }
        definition_ = definition;
        ProtocolCommandResult result{};
        PyxProtocol::ProtocolFacade::Seams seams;
        seams.MakeDelay = PyxTest::NoWait;
        handle_ = PyxProtocol::ProtocolFacade::CreateInstance(definition, 1, &result, seams);
        ASSERT_NE(handle_, 0u) << result.Message;
        facade_ = PyxProtocol::ProtocolFacade::GetInstance(handle_);
        ASSERT_NE(facade_, nullptr);
    }

    // Closes the reader while the fixtures behind it still stand.
    void TearDown() override { PyxProtocol::ProtocolFacade::DestroyInstance(handle_); }

    // Declared first, so it outlives the node and the peer that call into it.
    PyxTest::Sim::ReaderSimulator simulator_;
    std::unique_ptr<PyxTest::HidTestbed> testbed_;
    std::unique_ptr<PyxTest::Sim::SimulatedUsbReader> usb_;
    std::unique_ptr<PyxTest::Sim::SimulatedSerialReader> serial_;
    PyxCommon::ReaderDefinition definition_{};
    PyxProtocol::ProtocolFacade::Handle handle_ = 0;
    std::shared_ptr<PyxProtocol::ProtocolFacade> facade_;
};
} // namespace PyxFacadeTest
