#include "ScriptedTransport.h"

#include <stdexcept>
#include <utility>

#include "TransportException.h"

namespace PyxTest
{
namespace
{
PyxCommon::ReaderDefinition DefaultDefinition()
{
    PyxCommon::ReaderDefinition definition{};
    definition.ProtocolType = ::ProtocolType::FeatureReport;
    return definition;
}
} // namespace

ScriptedTransport::ScriptedTransport() : Transport(DefaultDefinition()) {}

ScriptedTransport::ScriptedTransport(const PyxCommon::ReaderDefinition& definition) : Transport(definition) {}

void ScriptedTransport::Record(Call call)
{
    const Operation operation = call.operation;
    calls_.push_back(std::move(call));
    ++counts_[static_cast<std::size_t>(operation)];
    const std::size_t ofKind = CountOf(operation);
    const std::size_t exchanges = CountOf(Operation::Transmit) + CountOf(Operation::Receive);
    for (const auto& planned : failures_)
    {
        const bool hit = planned.operation.has_value()
                             ? (*planned.operation == operation && planned.nth == ofKind)
                             : (operation != Operation::Init && planned.nth == exchanges);
        if (!hit)
        {
            continue;
        }
        if (planned.failure == Failure::TransportException)
        {
            throw PyxTransport::TransportException(planned.message, "ScriptedTransport.cpp", __LINE__,
                                                   "Record");
        }
        throw std::runtime_error(planned.message);
    }
}

void ScriptedTransport::init(std::uint32_t retryCount)
{
    Call call{Operation::Init, {}, 0, PyxTransport::HidReportType::Feature, retryCount};
    Record(std::move(call));
}

std::vector<std::uint8_t> ScriptedTransport::receive(const PyxTransport::TransportPacket& packet)
{
    Record({Operation::Receive, packet.Data, packet.Length, packet.ReportType, 0});
    if (replies_.empty() && generator_)
    {
        return generator_(packet);
    }
    if (replies_.empty())
    {
        throw PyxTransport::TransportException("ScriptedTransport: no reply queued", "ScriptedTransport.cpp",
                                               __LINE__, "receive");
    }
    std::vector<std::uint8_t> reply = std::move(replies_.front());
    replies_.pop_front();
    return reply;
}

void ScriptedTransport::transmit(const PyxTransport::TransportPacket& packet)
{
    Record({Operation::Transmit, packet.Data, packet.Length, packet.ReportType, 0});
}

ScriptedTransport& ScriptedTransport::QueueReply(std::vector<std::uint8_t> reply)
{
    replies_.push_back(std::move(reply));
    return *this;
}

ScriptedTransport& ScriptedTransport::QueueReplies(const std::vector<std::vector<std::uint8_t>>& replies)
{
    for (const auto& reply : replies)
    {
        replies_.push_back(reply);
    }
    return *this;
}

ScriptedTransport& ScriptedTransport::GenerateReplies(ReplyGenerator generator)
{
    generator_ = std::move(generator);
    return *this;
}

void ScriptedTransport::FailOn(Operation operation, std::size_t nth, Failure failure, std::string message)
{
    failures_.push_back({operation, nth, failure, std::move(message)});
}

void ScriptedTransport::FailOnCall(std::size_t nth, Failure failure, std::string message)
{
    failures_.push_back({std::nullopt, nth, failure, std::move(message)});
}

std::vector<std::vector<std::uint8_t>> ScriptedTransport::Transmitted() const
{
    std::vector<std::vector<std::uint8_t>> result;
    for (const auto& call : calls_)
    {
        if (call.operation == Operation::Transmit)
        {
            result.push_back(call.data);
        }
    }
    return result;
}

std::vector<std::uint16_t> ScriptedTransport::ReceiveLengths() const
{
    std::vector<std::uint16_t> result;
    for (const auto& call : calls_)
    {
        if (call.operation == Operation::Receive)
        {
            result.push_back(call.length);
        }
    }
    return result;
}

std::size_t ScriptedTransport::CountOf(Operation operation) const
{
    return counts_[static_cast<std::size_t>(operation)];
}

void ScriptedTransport::Clear()
{
    calls_.clear();
    counts_ = {};
    replies_.clear();
    failures_.clear();
    generator_ = nullptr;
}
} // namespace PyxTest
