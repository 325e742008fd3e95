#include <algorithm>

#include "ReaderSimulator.h"

namespace PyxTest::Sim
{
namespace
{
constexpr std::uint8_t kLeadByte = 0xFA;
constexpr std::size_t kHeaderSize = 5;
} // namespace

SerialBinaryFrontEnd::SerialBinaryFrontEnd(ReaderSimulator& simulator) : simulator_(simulator) {}

Bytes SerialBinaryFrontEnd::Receive(ByteView bytes)
{
    std::lock_guard lock(simulator_.mutex_);
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());

    Bytes out;
    for (;;)
    {
        std::size_t length = 0;
        std::function<Answer(ReaderModel&)> handle;
        if (followUp_)
        {
            length = followUpLength_;
            if (buffer_.size() < length)
            {
                break;
            }
            DataHandler followUp = std::move(followUp_);
            followUp_ = nullptr;
            handle = [followUp, this, length](ReaderModel& model)
            { return followUp(model, ByteView(buffer_.data(), length)); };
        }
        else
        {
            if (buffer_.size() < kHeaderSize)
            {
                break;
            }
            const ByteView header(buffer_.data(), kHeaderSize);
            const auto& table = simulator_.tables_.serialBinary;
            const SerialBinaryEntry* entry =
                header[0] == kLeadByte ? table.Find(header[1], header[2]) : nullptr;
            length = kHeaderSize;
            if (entry == nullptr)
            {
                Bytes status = header[0] != kLeadByte   ? InvalidClass()
                               : table.Knows(header[1]) ? P1OrP2Incorrect()
                                                        : InvalidInstruction();
                handle = [status](ReaderModel&) { return Reply(status); };
            }
            else
            {
                length = std::max(kHeaderSize, entry->length(header));
                if (buffer_.size() < length)
                {
                    break;
                }
                handle = [entry, this, length](ReaderModel& model)
                { return entry->handler(model, ByteView(buffer_.data(), length)); };
            }
        }

        Answer answer = simulator_.Respond(Protocol::SerialBinary, ByteView(buffer_.data(), length), handle);
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(length));
        if (answer.reply)
        {
            out.insert(out.end(), answer.reply->begin(), answer.reply->end());
        }
        // Data of no length would never arrive as a phrase of its own.
        if (answer.followUp && answer.followUpLength > 0)
        {
            followUp_ = std::move(answer.followUp);
            followUpLength_ = answer.followUpLength;
        }
    }
    return out;
}

void SerialBinaryFrontEnd::Reset()
{
    std::lock_guard lock(simulator_.mutex_);
    buffer_.clear();
    followUp_ = nullptr;
    followUpLength_ = 0;
}

std::size_t SerialBinaryFrontEnd::Buffered() const
{
    std::lock_guard lock(simulator_.mutex_);
    return buffer_.size();
}
} // namespace PyxTest::Sim
