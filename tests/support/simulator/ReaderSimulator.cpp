#include "ReaderSimulator.h"

namespace PyxTest::Sim
{
ReaderSimulator::ReaderSimulator(ReaderModel model) : ReaderSimulator(std::move(model), AllHandlers()) {}

ReaderSimulator::ReaderSimulator(ReaderModel model, HandlerTables tables)
    : tables_(std::move(tables)), model_(std::move(model)), featureReport_(*this), mfp24_(*this),
      serialBinary_(*this)
{
}

HidFeatureFrontEnd& ReaderSimulator::Hid(Protocol protocol)
{
    if (protocol == Protocol::Mfp24)
    {
        return mfp24_;
    }
    return featureReport_;
}

ReaderModel ReaderSimulator::Snapshot() const
{
    std::lock_guard lock(mutex_);
    return model_;
}

void ReaderSimulator::Arm(Fault fault)
{
    std::lock_guard lock(mutex_);
    faults_.Arm(std::move(fault));
}

void ReaderSimulator::ClearFaults()
{
    std::lock_guard lock(mutex_);
    faults_.Clear();
}

bool ReaderSimulator::FaultsPending() const
{
    std::lock_guard lock(mutex_);
    return !faults_.Empty();
}

std::vector<ReceivedPhrase> ReaderSimulator::Received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<Bytes> ReaderSimulator::Received(Protocol protocol) const
{
    std::lock_guard lock(mutex_);
    std::vector<Bytes> phrases;
    for (const auto& phrase : received_)
    {
        if (phrase.protocol == protocol)
        {
            phrases.push_back(phrase.bytes);
        }
    }
    return phrases;
}

void ReaderSimulator::ClearReceived()
{
    std::lock_guard lock(mutex_);
    received_.clear();
}

Answer ReaderSimulator::Respond(Protocol protocol, ByteView phrase,
                                const std::function<Sim::Answer(ReaderModel&)>& handler)
{
    received_.push_back({protocol, Bytes(phrase.begin(), phrase.end())});
    Sim::Answer answer = handler(model_);
    answer.reply = faults_.Apply(phrase, std::move(answer.reply));
    return answer;
}
} // namespace PyxTest::Sim
