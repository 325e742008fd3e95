#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Reader/Reader.h"
#include "Reader/ReaderException.h"
#include "SimulatedReaders.h"

namespace PyxTest
{
// A Pyx::Reader opened and initialised through the library on a simulated reader: a umockdev hidraw node
// for FeatureReport, a pseudo-terminal for SerialBinary. Tests change the model before Open when the
// reader should report something else about itself.
class OperationsTest : public ::testing::Test
{
protected:
    void TearDown() override { Pyx::AbstractReader::DestroyInstance(handle_); }

    Pyx::Reader& Open(Sim::Protocol protocol = Sim::Protocol::FeatureReport)
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
        handle_ = Pyx::AbstractReader::CreateReaderInstance(definition, 1);
        auto* reader = dynamic_cast<Pyx::Reader*>(Pyx::AbstractReader::GetInstance(handle_));
        reader->Init();
        simulator_.ClearReceived();
        return *reader;
    }

    // The message of the Pyx::ReaderException that `action` ends with ("" when none).
    template <typename Action> static std::string FailureOf(Action&& action)
    {
        try
        {
            action();
        }
        catch (const Pyx::ReaderException& error)
        {
            return error.what();
        }
        return "";
    }

    // Declared first, so it outlives the node and the peer that call into it.
    Sim::ReaderSimulator simulator_;
    std::unique_ptr<HidTestbed> testbed_;
    std::unique_ptr<Sim::SimulatedUsbReader> usb_;
    std::unique_ptr<Sim::SimulatedSerialReader> serial_;
    void* handle_ = nullptr;
};
} // namespace PyxTest
