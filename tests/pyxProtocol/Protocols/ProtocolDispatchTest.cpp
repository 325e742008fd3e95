#include <string>

#include <gtest/gtest.h>

#include "ProtocolException.h"
#include "Protocols/ProtocolFactory.h"
#include "ScriptedTransport.h"
#include "Visitors/CommandVisitor.h"

namespace
{
// Remembers which overload ran and with which transport.
class RecordingVisitor : public PyxProtocol::CommandVisitor
{
public:
    void Visit(PyxProtocol::SerialBinaryProtocol&, PyxTransport::Transport& transport) override
    {
        visited += "SerialBinary;";
        seen = &transport;
    }
    void Visit(PyxProtocol::Mfp24Protocol&, PyxTransport::Transport& transport) override
    {
        visited += "Mfp24;";
        seen = &transport;
    }
    void Visit(PyxProtocol::FeatureReportProtocol&, PyxTransport::Transport& transport) override
    {
        visited += "FeatureReport;";
        seen = &transport;
    }
    std::string visited;
    PyxTransport::Transport* seen = nullptr;
};

TEST(ProtocolDispatch, EachProtocolReachesExactlyItsOwnVisitOverload)
{
    const struct
    {
        ProtocolType type;
        const char* expected;
    } cases[] = {
        {ProtocolType::FeatureReport, "FeatureReport;"},
        {ProtocolType::Mfp24, "Mfp24;"},
        {ProtocolType::SerialBinary, "SerialBinary;"},
    };
    for (const auto& c : cases)
    {
        PyxTest::ScriptedTransport transport;
        RecordingVisitor visitor;
        auto protocol = PyxProtocol::GetProtocol(c.type);
        ASSERT_NE(protocol, nullptr);
        protocol->Accept(visitor, transport);
        EXPECT_EQ(visitor.visited, c.expected);
        EXPECT_EQ(visitor.seen, &transport);
        EXPECT_TRUE(transport.Calls().empty());
    }
}

TEST(ProtocolDispatch, VisitorExceptionsPassThroughAccept)
{
    class Throwing : public RecordingVisitor
    {
    public:
        void Visit(PyxProtocol::Mfp24Protocol&, PyxTransport::Transport&) override
        {
            PYX_THROW(PyxProtocol::ProtocolException,
                      "This command is not yet supported with the MFP24 Protocol");
        }
    };
    PyxTest::ScriptedTransport transport;
    Throwing visitor;
    PyxProtocol::Mfp24Protocol protocol;
    EXPECT_THROW(protocol.Accept(visitor, transport), PyxProtocol::ProtocolException);
}

TEST(ProtocolFactory, RefusesEveryTypeWithoutAProtocolByItsTextForm)
{
    const struct
    {
        std::uint8_t type;
        const char* text;
    } cases[] = {{0, "Invalid"}, {254, "Dummy"}, {255, "UnknownProtocol"}, {4, "Unknown"}, {200, "Unknown"}};
    for (const auto& c : cases)
    {
        try
        {
            PyxProtocol::GetProtocol(static_cast<ProtocolType>(c.type));
            ADD_FAILURE() << "type " << int(c.type) << " accepted";
        }
        catch (const PyxProtocol::ProtocolException& e)
        {
            EXPECT_EQ(e.GetMessage(),
                      std::string("Unable to initialize an underlying protocol object given invalid type ") +
                          c.text);
            EXPECT_EQ(e.GetFileName(), "ProtocolFactory.cpp");
            EXPECT_EQ(e.GetLineNumber(), 37);
            EXPECT_EQ(e.GetFunctionName(), "GetProtocol");
            EXPECT_EQ(e.GetExceptionType(), "TessmarException");
        }
    }
}

TEST(ProtocolException, IsCaughtAsTheLibraryErrorAndAsARuntimeError)
{
    const PyxProtocol::ProtocolException e(std::string("m"), "F.cpp", 3, "Visit");
    const PyxProtocol::ProtocolException copy(e);
    const TessmarException& base = copy;
    const std::runtime_error& runtime = copy;
    EXPECT_EQ(base.GetFunctionName(), "Visit");
    EXPECT_STREQ(runtime.what(), "m");
}
} // namespace
