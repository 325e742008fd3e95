#include <string>

#include "ProtocolCommandResult.h"
#include "Reader/ReaderException.h"
#include "SerialReaderFixture.h"

namespace PyxReaderTest
{
namespace
{
using PyxTest::Sim::Fault;

template <typename Call> Pyx::ReaderException ReaderExceptionOf(Call&& call)
{
    try
    {
        call();
    }
    catch (const Pyx::ReaderException& exception)
    {
        return exception;
    }
    ADD_FAILURE() << "no Pyx::ReaderException";
    return Pyx::ReaderException("none", "", 0, "");
}

using CapabilityGuardTest = SerialReaderTest;

// The operations' own tests pin the messages; these pin where the guard records its failures and what a
// failure carries from the protocol layer.
TEST_F(CapabilityGuardTest, RefusalsAndFailuresNameTheGuardAndCarryTheProtocolCause)
{
    simulator_.Update([](ReaderModel& model) { model.identity.partNumber = "ABC-2123-X"; });
    Open();
    Reader().Init();
    const auto refused = ReaderExceptionOf([&] { Reader().EnableKeystroking(true); });
    EXPECT_EQ(refused.GetFileName(), "Utilities/ExecutionHelpers.h");
    EXPECT_EQ(refused.GetLineNumber(), 157);
    EXPECT_EQ(refused.GetFunctionName(), "ExecuteWithCapabilityCheck");
    EXPECT_FALSE(refused.HasProtocolException());

    simulator_.Arm(Fault::Status({0xFA, 0x0C, 0x03}, 0x6A, 0x83));
    const auto failed = ReaderExceptionOf([&] { Reader().Beep(1, PyxProtocol::BEEP_DURATION::BEEP_SHORT); });
    EXPECT_EQ(failed.GetMessage(), "Operation 'Pyx::Reader::Beep' failed [Protocol Exception: Beep command "
                                   "received error response: UNKNOWN_ERROR]");
    EXPECT_EQ(failed.GetFileName(), "Utilities/ExecutionHelpers.h");
    EXPECT_EQ(failed.GetLineNumber(), 169);
    EXPECT_TRUE(failed.HasProtocolException());
    EXPECT_EQ(failed.GetProtocolExceptionType(), "TessmarException");
    EXPECT_EQ(failed.GetProtocolMessage(), "Beep command received error response: UNKNOWN_ERROR");
    EXPECT_NE(failed.GetProtocolLineNumber(), 0);
    EXPECT_FALSE(failed.GetProtocolFileName().empty());
}

TEST(ReaderExceptionTest, AResultWithoutFailureCarriesNothing)
{
    ProtocolCommandResult success{};
    const Pyx::ReaderException plain("plain", success, "File.cpp", 7, "Function");
    EXPECT_STREQ(plain.what(), "plain");
    EXPECT_FALSE(plain.HasProtocolException());
    EXPECT_EQ(plain.GetProtocolLineNumber(), 0);
    EXPECT_TRUE(plain.GetProtocolMessage().empty());
}

TEST(CardDataTest, EmptinessEqualityAndText)
{
    Pyx::CardData card;
    EXPECT_TRUE(card.IsEmpty());
    card.SetBitCount(26);
    EXPECT_FALSE(card.IsEmpty());
    Pyx::CardData other;
    EXPECT_NE(card, other);
    other.SetBitCount(26);
    EXPECT_EQ(card, other);
    card.AsByteArray()[0] = std::byte{0x41};
    card.AsByteArray()[2] = std::byte{0x42};
    EXPECT_NE(card, other);
    const std::string text = card.AsString();
    ASSERT_EQ(text.size(), 32u);
    EXPECT_EQ(text.substr(0, 3), std::string("A\0B", 3));
}
} // namespace
} // namespace PyxReaderTest
