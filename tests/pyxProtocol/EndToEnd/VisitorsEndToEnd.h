#pragma once

// The operation visitors over the real transports (hidapi on a umockdev node, the serial port on a
// pseudo-terminal), with the reader simulator answering.
#include <gtest/gtest.h>

#include "../Visitors/VisitorFactories.h"
#include "../Visitors/VisitorTestSupport.h"
#include "ReaderQueryFixture.h"

namespace PyxVisitorsEndToEnd
{
using PyxTest::On;
using PyxTest::Sim::Protocol;
using PyxTest::Sim::ReaderModel;

class VisitorsEndToEnd : public PyxReaderQueries::ReaderQueryEndToEnd
{
protected:
    // "" when the visit succeeds, else where and why it failed.
    std::string Visit(On on, PyxProtocol::CommandVisitor& visitor)
    {
        return PyxTest::FailureOf([&] { PyxTest::Dispatch(on, visitor, *transport_); });
    }

    // Every operation with arguments that pass its rules: a served one completes against the simulated
    // reader, a refused one leaves the reader without a single phrase. Returns the number served.
    std::size_t RunEveryOperation(On on)
    {
        std::size_t served = 0;
        for (const auto& operation : PyxTest::AllOperations())
        {
            SCOPED_TRACE(operation.operation);
            simulator_.ClearReceived();
            auto visitor = operation.make();
            const std::string failure = Visit(on, *visitor);
            if (failure.find("Visitor.cpp Visit: ") != std::string::npos)
            {
                EXPECT_TRUE(simulator_.Received().empty());
                continue;
            }
            EXPECT_EQ(failure, "");
            EXPECT_FALSE(simulator_.Received().empty());
            ++served;
        }
        return served;
    }
};
} // namespace PyxVisitorsEndToEnd
