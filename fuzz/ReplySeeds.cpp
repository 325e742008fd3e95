#include "ReplySeeds.h"

#include <cstdint>
#include <exception>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "ReaderSimulator.h"
#include "ReplyScript.h"
#include "VisitorFactories.h"
#include "VisitorTestSupport.h"

namespace PyxFuzz
{
namespace
{
using PyxTest::On;
using PyxTest::ScriptedTransport;

// The simulated reader behind a scripted transport: what was sent since the last receive reaches the reader,
// and its answer is the reply.
class SimulatedReplies
{
public:
    explicit SimulatedReplies(On on) : on_(on) {}

    std::vector<std::uint8_t> Reply(const ScriptedTransport& transport, std::uint16_t length)
    {
        const auto& calls = transport.Calls();
        for (; fed_ < calls.size(); ++fed_)
        {
            if (calls[fed_].operation != ScriptedTransport::Operation::Transmit)
            {
                continue;
            }
            if (on_ == On::SerialBinary)
            {
                const auto answer = simulator_.SerialBinary().Receive(calls[fed_].data);
                pending_.insert(pending_.end(), answer.begin(), answer.end());
            }
            else
            {
                simulator_.Hid(Hid()).SetFeature(calls[fed_].data);
            }
        }
        auto reply = on_ == On::SerialBinary ? std::exchange(pending_, {})
                                             : simulator_.Hid(Hid()).GetFeature(length).value_or(Bytes{});
        given_.push_back(reply);
        return reply;
    }

    const std::vector<std::vector<std::uint8_t>>& Given() const { return given_; }

private:
    using Bytes = std::vector<std::uint8_t>;

    PyxTest::Sim::Protocol Hid() const
    {
        return on_ == On::Mfp24 ? PyxTest::Sim::Protocol::Mfp24 : PyxTest::Sim::Protocol::FeatureReport;
    }

    On on_;
    PyxTest::Sim::ReaderSimulator simulator_;
    std::size_t fed_ = 0;
    Bytes pending_; // SerialBinary bytes not yet read
    std::vector<Bytes> given_;
};
} // namespace

void WriteReplySeeds(const std::filesystem::path& folder)
{
    const auto operations = PyxTest::AllOperations();
    for (const On on : {On::FeatureReport, On::Mfp24, On::SerialBinary})
    {
        for (std::size_t index = 0; index < operations.size(); ++index)
        {
            SimulatedReplies reader(on);
            ScriptedTransport transport;
            transport.GenerateReplies([&](const PyxTransport::TransportPacket& packet)
                                      { return reader.Reply(transport, packet.Length); });
            const auto visitor = operations[index].make();
            try
            {
                PyxTest::Dispatch(on, *visitor, transport);
            }
            catch (const std::exception&)
            {
                // Not served on this protocol, or refused by the simulated reader: no seed.
                continue;
            }
            const ReplyScript script{static_cast<std::uint8_t>(on), static_cast<std::uint8_t>(index),
                                     reader.Given()};
            const auto bytes = WriteReplyScript(script);
            const auto name = std::string(PyxTest::Name(on)) + "-" + operations[index].operation + ".bin";
            std::ofstream(folder / name, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        }
    }
}
} // namespace PyxFuzz
