// The facade's operations on a SerialBinary reader: the serial transport on a pseudo-terminal, with the
// reader simulator answering.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "FacadeOperations.h"
#include "SimulatedFacadeTest.h"

namespace PyxFacadeTest
{
namespace
{
using PyxTest::Sim::Fault;

class FacadeSerialTest : public SimulatedFacadeTest
{
protected:
    void SetUp() override { Open(Protocol::SerialBinary); }
};

TEST_F(FacadeSerialTest, ServesItsThirtyOperationsAndRefusesTheRestUnsent)
{
    const auto succeeded = RunEveryOperation(*facade_, simulator_);
    EXPECT_EQ(succeeded.size(), 30u);
}

// The three text results share one copy-out; each reports its own line.
TEST_F(FacadeSerialTest, TextCopyOutsNeedRoomForTheClosingZero)
{
    const std::string esn = simulator_.Snapshot().identity.esn;
    std::string buffer(esn.size() + 1, 'x');

    ProtocolCommandResult result = facade_->GetESN(buffer.data(), esn.size());
    EXPECT_TRUE(result.HasException);
    EXPECT_STREQ(result.Message, "Input buffer is too small to hold the result.");
    EXPECT_STREQ(result.ExceptionType, "TessmarException");
    EXPECT_STREQ(result.FileName, "ProtocolFacade.cpp");
    EXPECT_EQ(result.LineNumber, 958);
    EXPECT_STREQ(result.FunctionName, "operator ()");
    EXPECT_EQ(buffer, std::string(esn.size() + 1, 'x'));

    result = facade_->GetESN(buffer.data(), buffer.size());
    EXPECT_FALSE(result.HasException) << result.Message;
    EXPECT_EQ(std::string(buffer.c_str()), esn);
    EXPECT_EQ(buffer.back(), '\0');

    // A null buffer holds nothing, whatever size comes with it.
    result = facade_->GetESN(nullptr, 64);
    EXPECT_STREQ(result.Message, "Input buffer is too small to hold the result.");

    char small[1] = {'x'};
    EXPECT_EQ(facade_->GetPartNumber(small, 0).LineNumber, 978);
    EXPECT_EQ(facade_->GetString(small, 1, PyxProtocol::GetStringIndex::String1).LineNumber, 1053);
    EXPECT_EQ(small[0], 'x');
}

TEST_F(FacadeSerialTest, GetConfigurationWritesNothingUnlessAllSixStepsSucceed)
{
    PrepareReader(simulator_);
    // The reply to the fourth request (block 3) never comes.
    simulator_.Arm(Fault::Silent({}).After(3));
    auto configuration = Marked<PyxProtocol::ReaderConfiguration>();
    const auto before = configuration;

    const ProtocolCommandResult result = facade_->GetConfiguration(2, configuration);

    EXPECT_TRUE(result.HasException);
    EXPECT_EQ(std::memcmp(&configuration, &before, sizeof before), 0);
    // The first step has switched the reader already; that stays.
    EXPECT_EQ(simulator_.Snapshot().configuration.active, 2);
    EXPECT_EQ(simulator_.Received().size(), 4u);
}

TEST_F(FacadeSerialTest, ReplyFailureNamesTheCheckThatRaisedIt)
{
    simulator_.Arm(Fault::WrongEcho({}));
    const ProtocolCommandResult result = facade_->Beep(1, PyxProtocol::BEEP_DURATION::BEEP_SHORT);
    EXPECT_TRUE(result.HasException);
    EXPECT_STREQ(result.ExceptionType, "TessmarException");
    EXPECT_STREQ(result.FunctionName, "ValidateResponse");
    EXPECT_EQ(std::string(result.FileName).find('/'), std::string::npos);
    EXPECT_NE(std::string(result.FileName).find("Beep"), std::string::npos);
    EXPECT_GT(result.LineNumber, 0);
}
} // namespace
} // namespace PyxFacadeTest
