#include <cstring>
#include <string>

#include "ProtocolCommandResult.h"
#include "Reader/PyxResult.h"
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

TEST_F(CapabilityGuardTest, RefusalsSendNothingAndFailuresCarryTheProtocolCause)
{
    Open();
    const auto beforeInit = ReaderExceptionOf(
        [&]
        {
            Pyx::CardData card;
            Reader().GetCardData(card, PyxProtocol::GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES);
        });
    EXPECT_EQ(beforeInit.GetMessage(), "Reader capability profile not initialized. Call Init() first.");

    simulator_.Update([](ReaderModel& model) { model.identity.partNumber = "ABC-2123-X"; });
    Reader().Init();
    simulator_.ClearReceived();
    const auto refused = ReaderExceptionOf([&] { Reader().EnableKeystroking(true); });
    EXPECT_EQ(refused.GetMessage(),
              "Operation 'Pyx::Reader::EnableKeystroking' requires capabilities that this "
              "reader does not support: READER_CAPABILITY_KEYSTROKING");
    EXPECT_EQ(refused.GetFileName(), "Utilities/CapabilityGuard.h");
    EXPECT_EQ(refused.GetLineNumber(), 157);
    EXPECT_EQ(refused.GetFunctionName(), "ExecuteWithCapabilityCheck");
    EXPECT_FALSE(refused.HasProtocolException());
    EXPECT_TRUE(simulator_.Received().empty());

    simulator_.Arm(Fault::Status({0xFA, 0x0C, 0x03}, 0x6A, 0x83));
    const auto failed = ReaderExceptionOf([&] { Reader().Beep(1, PyxProtocol::BEEP_DURATION::BEEP_SHORT); });
    EXPECT_EQ(failed.GetMessage(), "Operation 'Pyx::Reader::Beep' failed [Protocol Exception: Beep command "
                                   "received error response: UNKNOWN_ERROR]");
    EXPECT_EQ(failed.GetLineNumber(), 169);
    EXPECT_TRUE(failed.HasProtocolException());
    EXPECT_EQ(failed.GetProtocolExceptionType(), "TessmarException");
    EXPECT_EQ(failed.GetProtocolMessage(), "Beep command received error response: UNKNOWN_ERROR");
    EXPECT_NE(failed.GetProtocolLineNumber(), 0);
    EXPECT_FALSE(failed.GetProtocolFileName().empty());

    PyxResult result;
    std::memset(&result, 'x', sizeof(result));
    failed.PopulatePyxResult(result);
    EXPECT_EQ(result.ResultCode, 1);
    EXPECT_STREQ(result.Message, failed.GetMessage().c_str());
    EXPECT_STREQ(result.FileName, "Utilities/CapabilityGuard.h");
    EXPECT_EQ(result.HasProtocolException, 1);
    EXPECT_STREQ(result.ProtocolMessage, "Beep command received error response: UNKNOWN_ERROR");
    EXPECT_EQ(std::int32_t{result.ProtocolLineNumber}, failed.GetProtocolLineNumber());
}

TEST(ReaderExceptionTest, ResultsWithoutFailureCarryNothingAndLongTextsAreCut)
{
    ProtocolCommandResult success{};
    const Pyx::ReaderException plain("plain", success, "File.cpp", 7, "Function");
    EXPECT_STREQ(plain.what(), "plain");
    EXPECT_FALSE(plain.HasProtocolException());
    EXPECT_EQ(plain.GetProtocolLineNumber(), 0);
    EXPECT_TRUE(plain.GetProtocolMessage().empty());

    const Pyx::ReaderException longMessage(std::string(3000, 'm'), "File.cpp", 7, "Function");
    PyxResult result;
    std::memset(&result, 'x', sizeof(result));
    longMessage.PopulatePyxResult(result);
    EXPECT_EQ(std::strlen(result.Message), 2047u);
    EXPECT_EQ(result.HasProtocolException, 0);
    EXPECT_EQ(result.ProtocolMessage[0], '\0');
    EXPECT_EQ(std::int32_t{result.ProtocolLineNumber}, 0);
    EXPECT_STREQ(result.ExceptionType, "TessmarException");
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
