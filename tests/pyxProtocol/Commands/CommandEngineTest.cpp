#include <stdexcept>

#include <gtest/gtest.h>

#include "CommandTestSupport.h"
#include "Commands/Command.h"
#include "Commands/CommandHelpers.h"
#include "TransportException.h"

namespace
{
using PyxTest::Bytes;
using PyxTest::ScriptedTransport;
using Op = ScriptedTransport::Operation;

// One phrase, one reply: the engine's defaults.
class OnePhrase : public PyxProtocol::FeatureReportCommand
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override
    {
        ++_commandPhrasesSent;
        return PyxProtocol::Phrase::FeatureReport({0x8C, 0x06});
    }
};

// `phrases` phrases; a reply after those whose index is in `replyAfter`.
class ManyPhrases : public PyxProtocol::FeatureReportCommand
{
public:
    ManyPhrases(int phrases, std::vector<int> replyAfter)
        : phrases_(phrases), replyAfter_(std::move(replyAfter))
    {
    }
    bool HasCommandPhrase() override { return _commandPhrasesSent < phrases_; }
    std::vector<std::uint8_t> NextCommandPhrase() override
    {
        return PyxProtocol::Phrase::FeatureReport({0x8D, static_cast<std::uint8_t>(_commandPhrasesSent++)});
    }
    bool ExpectsResponsePhrase() override
    {
        return std::find(replyAfter_.begin(), replyAfter_.end(), _commandPhrasesSent - 1) !=
               replyAfter_.end();
    }

private:
    int phrases_;
    std::vector<int> replyAfter_;
};

class Mfp24Phrase : public PyxProtocol::Mfp24Command
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override
    {
        ++_commandPhrasesSent;
        return PyxProtocol::Phrase::Mfp24("BV2");
    }
};

// Refuses every reply as it arrives.
class RefusingReplies : public ManyPhrases
{
public:
    RefusingReplies() : ManyPhrases(3, {0, 1, 2}) {}
    void AddResponsePhrase(std::vector<std::uint8_t>) override
    {
        PYX_THROW(PyxProtocol::ProtocolException, "bad header");
    }
};

class NothingToSend : public OnePhrase
{
public:
    bool HasCommandPhrase() override { return false; }
};

TEST(CommandEngine, DefaultCommandSendsOnePhraseAndReadsEightBytesWithTheRequestPacket)
{
    ScriptedTransport transport;
    transport.QueueReply({0x8C, 0x06, 0x02, 0, 0, 0, 0, 0});
    OnePhrase command;
    command.Execute(transport);

    const Bytes request{0x8C, 0x06, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(transport.Calls().size(), 2u);
    const auto& sent = transport.Calls()[0];
    EXPECT_EQ(sent.operation, Op::Transmit);
    EXPECT_EQ(sent.data, request);
    EXPECT_EQ(sent.length, 8);
    EXPECT_EQ(sent.reportType, PyxTransport::HidReportType::Feature);
    const auto& read = transport.Calls()[1];
    EXPECT_EQ(read.operation, Op::Receive);
    EXPECT_EQ(read.data, request);
    EXPECT_EQ(read.length, 8);
    EXPECT_EQ(read.reportType, PyxTransport::HidReportType::Feature);
    EXPECT_EQ(command.ResponsePhraseCount(), 1u);
}

TEST(CommandEngine, Mfp24ReceiveAsksForTwentyFourBytes)
{
    ScriptedTransport transport;
    transport.QueueReply(PyxTest::Mfp24Line("RV2"));
    Mfp24Phrase command;
    command.Execute(transport);
    EXPECT_EQ(transport.Transmitted(), std::vector<Bytes>{PyxTest::Mfp24Line("BV2")});
    EXPECT_EQ(transport.Calls()[0].length, 24);
    EXPECT_EQ(transport.ReceiveLengths(), std::vector<std::uint16_t>{24});
}

TEST(CommandEngine, PhrasesAndRepliesAlternateStrictly)
{
    ScriptedTransport transport;
    transport.QueueReplies({{1}, {2}, {3}});
    ManyPhrases command(3, {0, 1, 2});
    command.Execute(transport);
    std::vector<Op> order;
    for (const auto& call : transport.Calls())
    {
        order.push_back(call.operation);
    }
    EXPECT_EQ(order, (std::vector<Op>{Op::Transmit, Op::Receive, Op::Transmit, Op::Receive, Op::Transmit,
                                      Op::Receive}));
    EXPECT_EQ(transport.Calls()[4].data, (Bytes{0x8D, 2, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(command.ResponsePhraseCount(), 3u);
}

TEST(CommandEngine, ReplyIsReadOnlyAfterThePhrasesThatExpectOne)
{
    ScriptedTransport transport;
    transport.QueueReply({9});
    ManyPhrases writeOnly(2, {});
    writeOnly.Execute(transport);
    EXPECT_EQ(transport.CountOf(Op::Transmit), 2u);
    EXPECT_EQ(transport.CountOf(Op::Receive), 0u);
    EXPECT_EQ(writeOnly.ResponsePhraseCount(), 0u);

    transport.Clear();
    transport.QueueReply({9});
    ManyPhrases lastOnly(3, {2});
    lastOnly.Execute(transport);
    std::vector<Op> order;
    for (const auto& call : transport.Calls())
    {
        order.push_back(call.operation);
    }
    EXPECT_EQ(order, (std::vector<Op>{Op::Transmit, Op::Transmit, Op::Transmit, Op::Receive}));
}

TEST(CommandEngine, CommandWithoutPhrasesTouchesNothing)
{
    ScriptedTransport transport;
    NothingToSend command;
    command.Execute(transport);
    EXPECT_TRUE(transport.Calls().empty());
}

TEST(CommandEngine, TransportFailureLeavesExecuteAndKeepsTheRepliesSoFar)
{
    ScriptedTransport transport;
    transport.QueueReplies({{1}, {2}, {3}});
    transport.FailOn(Op::Receive, 2, ScriptedTransport::Failure::TransportException, "read failed");
    ManyPhrases command(3, {0, 1, 2});
    EXPECT_THROW(command.Execute(transport), PyxTransport::TransportException);
    EXPECT_EQ(command.ResponsePhraseCount(), 1u);
    EXPECT_EQ(transport.CountOf(Op::Transmit), 2u);

    ScriptedTransport plain;
    plain.FailOnCall(1, ScriptedTransport::Failure::RuntimeError, "gone");
    OnePhrase other;
    EXPECT_THROW(other.Execute(plain), std::runtime_error);
    EXPECT_EQ(other.ResponsePhraseCount(), 0u);
}

TEST(CommandEngine, CommandRefusingAReplyStopsTheExchange)
{
    ScriptedTransport transport;
    transport.QueueReplies({{1}, {2}, {3}});
    RefusingReplies command;
    EXPECT_EQ(PyxTest::ProtocolFailure([&] { command.Execute(transport); }), "AddResponsePhrase: bad header");
    EXPECT_EQ(transport.CountOf(Op::Transmit), 1u);
    EXPECT_EQ(transport.PendingReplies(), 2u);
}

TEST(CommandEngine, SecondExecuteRepeatsTheExchangeInsteadOfAddingToIt)
{
    ScriptedTransport transport;
    transport.QueueReplies({{1}, {2}, {1}, {2}});
    ManyPhrases command(2, {0, 1});
    command.Execute(transport);
    command.Execute(transport);
    EXPECT_EQ(command.ResponsePhraseCount(), 2u);
    EXPECT_EQ(transport.CountOf(Op::Transmit), 4u);
}
} // namespace
