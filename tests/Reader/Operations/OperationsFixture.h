#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ProtocolFacade.h"
#include "Reader/Reader.h"
#include "Reader/ReaderException.h"
#include "RecordingTimeDelay.h"
#include "SimulatedReaders.h"
#include "Utilities/ReaderTestSeams.h"

namespace PyxTest
{
// Hands waits to a recording delay the test keeps, so no test sleeps through a protocol wait.
class ForwardingDelay : public PyxCommon::TimeDelay
{
public:
    explicit ForwardingDelay(std::shared_ptr<RecordingTimeDelay> target) : target_(std::move(target)) {}
    void DelayMilliseconds(int milliseconds) override { target_->DelayMilliseconds(milliseconds); }
    void DelaySeconds(int seconds) override { target_->DelaySeconds(seconds); }

private:
    std::shared_ptr<RecordingTimeDelay> target_;
};

// A Pyx::Reader opened and initialised through the library on a simulated reader: a umockdev hidraw node
// for FeatureReport, a pseudo-terminal for SerialBinary; the waits of its commands are recorded in
// commandDelays_. Tests change the model before Open when the reader should report something else.
class OperationsTest : public ::testing::Test, protected Sim::SimulatedReaderRig
{
protected:
    void TearDown() override { Pyx::AbstractReader::DestroyInstance(handle_); }

    Pyx::Reader& Open(Sim::Protocol protocol = Sim::Protocol::FeatureReport)
    {
        const PyxCommon::ReaderDefinition definition = Attach(protocol);
        PyxProtocol::ProtocolFacade::Seams seams;
        seams.MakeDelay = [delays = commandDelays_] { return std::make_unique<ForwardingDelay>(delays); };
        handle_ = Pyx::Testing::CreateReaderInstanceWithSeams(definition, 1, seams);
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

    void* handle_ = nullptr;
    std::shared_ptr<RecordingTimeDelay> commandDelays_ = std::make_shared<RecordingTimeDelay>();
};
} // namespace PyxTest
