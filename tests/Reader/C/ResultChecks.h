#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "Reader/PyxResult.h"

namespace PyxTest
{
// A record as a host might reuse it: stale texts and a protocol failure left from an earlier call.
inline PyxResult UsedRecord()
{
    PyxResult result;
    std::memset(&result, 'x', sizeof result);
    result.HasProtocolException = 1;
    return result;
}

inline void ExpectNoProtocolPart(const PyxResult& result)
{
    EXPECT_EQ(result.HasProtocolException, 0);
    EXPECT_STREQ(result.ProtocolExceptionType, "");
    EXPECT_STREQ(result.ProtocolMessage, "");
    EXPECT_STREQ(result.ProtocolFileName, "");
    EXPECT_EQ(+result.ProtocolLineNumber, 0);
    EXPECT_STREQ(result.ProtocolFunctionName, "");
}
} // namespace PyxTest
