#include <algorithm>

#include "ReaderSimulator.h"

namespace PyxTest::Sim
{
HidFeatureFrontEnd::HidFeatureFrontEnd(ReaderSimulator& simulator, Protocol protocol, std::size_t phraseSize)
    : simulator_(simulator), protocol_(protocol), phraseSize_(phraseSize)
{
}

void HidFeatureFrontEnd::SetFeature(ByteView report)
{
    Bytes phrase(report.begin(), report.end());
    if (phrase.size() < phraseSize_)
    {
        phrase.resize(phraseSize_, 0x00);
    }

    std::lock_guard lock(simulator_.mutex_);
    // A phrase that follows a header which was not read back is that header's data.
    DataHandler followUp = std::move(followUp_);
    followUp_ = nullptr;
    // Recorded as it arrived; handlers see it zero-filled to a whole phrase.
    Answer answer = simulator_.Respond(
        protocol_, report,
        [&](ReaderModel& model) { return followUp ? followUp(model, phrase) : Dispatch(model, phrase); });
    pending_ = std::move(answer.reply);
    answered_ = true;
    followUp_ = std::move(answer.followUp);
}

std::optional<Bytes> HidFeatureFrontEnd::GetFeature(std::size_t length)
{
    std::lock_guard lock(simulator_.mutex_);
    followUp_ = nullptr;
    if (!answered_)
    {
        return Bytes(length, 0x00);
    }
    if (!pending_)
    {
        return std::nullopt;
    }
    Bytes reply = *pending_;
    reply.resize(std::min(reply.size(), length));
    return reply;
}

bool HidFeatureFrontEnd::IsSilent() const
{
    std::lock_guard lock(simulator_.mutex_);
    return answered_ && !pending_;
}

const HandlerTables& HidFeatureFrontEnd::Tables() const
{
    return simulator_.tables_;
}

std::optional<Bytes> HidFeatureFrontEnd::Exchange(ByteView request)
{
    SetFeature(request);
    return GetFeature(phraseSize_);
}

FeatureReportFrontEnd::FeatureReportFrontEnd(ReaderSimulator& simulator)
    : HidFeatureFrontEnd(simulator, Protocol::FeatureReport, 8)
{
}

Answer FeatureReportFrontEnd::Dispatch(ReaderModel& model, ByteView phrase) const
{
    const FeatureReportHandler* handler = Tables().featureReport.Find(phrase[0], phrase[1]);
    if (handler == nullptr)
    {
        // An unknown command leaves the report the reader holds at zero.
        return Reply(Bytes(8, 0x00));
    }
    return (*handler)(model, phrase);
}

Mfp24FrontEnd::Mfp24FrontEnd(ReaderSimulator& simulator) : HidFeatureFrontEnd(simulator, Protocol::Mfp24, 24)
{
}

Answer Mfp24FrontEnd::Dispatch(ReaderModel& model, ByteView phrase) const
{
    const Mfp24Handler* handler = Tables().mfp24.Find(phrase);
    if (handler == nullptr)
    {
        // An error line: "E" in place of the command's first letter, the rest echoed.
        Bytes line(phrase.begin(), phrase.begin() + 24);
        line[0] = 'E';
        line[23] = 0x0D;
        return Reply(std::move(line));
    }
    return (*handler)(model, phrase);
}
} // namespace PyxTest::Sim
