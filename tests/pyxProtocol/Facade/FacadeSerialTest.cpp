// The facade on a SerialBinary reader: the serial transport on a pseudo-terminal, the simulator answering.
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
    EXPECT_EQ(RunEveryOperation(*facade_, simulator_).size(), 30u);
}

TEST_F(FacadeSerialTest, TextCopyOutsNeedRoomForTheClosingZero)
{
    const std::string esn = simulator_.Snapshot().identity.esn;
    std::string buffer(esn.size() + 1, 'x');
    ProtocolCommandResult result = facade_->GetESN(buffer.data(), esn.size());
    EXPECT_STREQ(result.Message, "Input buffer is too small to hold the result.");
    EXPECT_STREQ(result.FileName, "ProtocolFacade.cpp");
    EXPECT_EQ(result.LineNumber, 958);
    EXPECT_STREQ(result.FunctionName, "operator ()");
    EXPECT_EQ(buffer, std::string(esn.size() + 1, 'x'));

    EXPECT_FALSE(facade_->GetESN(buffer.data(), buffer.size()).HasException);
    EXPECT_EQ(buffer, esn + '\0');
    // A null buffer holds nothing, whatever size comes with it.
    EXPECT_STREQ(facade_->GetESN(nullptr, 64).Message, "Input buffer is too small to hold the result.");
    EXPECT_EQ(facade_->GetPartNumber(buffer.data(), 0).LineNumber, 978);
    EXPECT_EQ(facade_->GetString(buffer.data(), 1, PyxProtocol::GetStringIndex::String1).LineNumber, 1053);
}

TEST_F(FacadeSerialTest, FailedStepsLeaveOutputsAndReportTheirOrigin)
{
    PrepareReader(simulator_);
    simulator_.Arm(Fault::Silent({}).After(3)); // block 3, the fourth step, is never answered
    auto configuration = Marked<PyxProtocol::ReaderConfiguration>();
    const auto before = configuration;
    EXPECT_TRUE(facade_->GetConfiguration(2, configuration).HasException);
    EXPECT_EQ(std::memcmp(&configuration, &before, sizeof before), 0);
    EXPECT_EQ(simulator_.Snapshot().configuration.active, 2); // the first step stays done

    simulator_.Arm(Fault::WrongEcho({}));
    const ProtocolCommandResult result = facade_->Beep(1, PyxProtocol::BEEP_DURATION::BEEP_SHORT);
    EXPECT_STREQ(result.ExceptionType, "TessmarException");
    EXPECT_STREQ(result.FunctionName, "ValidateResponse");
    EXPECT_STREQ(result.FileName, "BeepWithSerialBinaryProtocol.cpp");
    EXPECT_GT(result.LineNumber, 0);
}
} // namespace
} // namespace PyxFacadeTest
