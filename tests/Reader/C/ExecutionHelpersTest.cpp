// The frame of the C functions on its own: what each kind of failure leaves in the result record.

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "ProtocolCommandResult.h"
#include "ResultChecks.h"
#include "Utilities/ExecutionHelpers.h"

namespace
{
using Pyx::CInterface::ExecuteCppMethod;
using Pyx::CInterface::ExecuteCppMethodWithReturn;
using PyxTest::ExpectNoProtocolPart;
using PyxTest::UsedRecord;

struct Outcome
{
    int code;
    const char* type;
    std::string message;
    const char* file;
    int line;
    const char* function;
};

void Expect(const PyxResult& result, const Outcome& expected)
{
    EXPECT_EQ(result.ResultCode, expected.code);
    EXPECT_STREQ(result.ExceptionType, expected.type);
    EXPECT_EQ(result.Message, expected.message);
    EXPECT_STREQ(result.FileName, expected.file);
    EXPECT_EQ(+result.LineNumber, expected.line);
    EXPECT_STREQ(result.FunctionName, expected.function);
}

template <typename Throw> void RunBoth(Throw&& thrower, const Outcome& method, const Outcome& withReturn)
{
    PyxResult result = UsedRecord();
    ExecuteCppMethod(&result, "Op", thrower);
    Expect(result, method);
    PyxResult returning = UsedRecord();
    EXPECT_EQ(ExecuteCppMethodWithReturn<int>(
                  &returning, "Op",
                  [&]() -> int
                  {
                      thrower();
                      return 5;
                  },
                  -1),
              method.code == 0 ? 5 : -1);
    Expect(returning, withReturn);
}

TEST(ExecutionHelpers, EachOutcomeClassFillsTheRecordAndClearsAnEarlierProtocolFailure)
{
    const char* file = "Reader_C.cpp";
    RunBoth([] {}, {0, "", "", file, 75, "ExecuteCppMethod"},
            {0, "", "", file, 113, "ExecuteCppMethodWithReturn"});
    RunBoth([] { throw std::runtime_error("boom"); },
            {1, "StdException", "Standard exception in Op: boom", file, 97, "ExecuteCppMethod"},
            {1, "StdException", "Standard exception in Op: boom", file, 134, "ExecuteCppMethodWithReturn"});
    RunBoth([] { throw 42; },
            {1, "UnknownException", "An unexpected error occurred in Op.", file, 104, "ExecuteCppMethod"},
            {1, "UnknownException", "An unexpected error occurred in Op.", file, 142,
             "ExecuteCppMethodWithReturn"});
    const Outcome thrown{1, "TessmarException", "bad value", "Origin.cpp", 12, "Set"};
    RunBoth([] { throw TessmarException("bad value", "Origin.cpp", 12, "Set"); }, thrown, thrown);
    const Outcome reader{1, "TessmarException", "not ready", "Reader.cpp", 34, "Beep"};
    RunBoth([] { throw Pyx::ReaderException("not ready", "Reader.cpp", 34, "Beep"); }, reader, reader);

    PyxResult result = UsedRecord();
    ExecuteCppMethod(&result, "Op", [] { throw std::runtime_error("boom"); });
    ExpectNoProtocolPart(result);
}

TEST(ExecutionHelpers, AReaderExceptionFillsTheProtocolPartToo)
{
    ProtocolCommandResult failed{};
    failed.HasException = true;
    std::strcpy(failed.Message, "no answer");
    failed.LineNumber = 77;
    PyxResult result = UsedRecord();
    ExecuteCppMethod(&result, "Beep",
                     [&] { throw Pyx::ReaderException("Failed", failed, "Guard.cpp", 9, "Run"); });
    Expect(result, {1, "TessmarException", "Failed [Protocol Exception: no answer]", "Guard.cpp", 9, "Run"});
    EXPECT_EQ(result.HasProtocolException, 1);
    EXPECT_STREQ(result.ProtocolMessage, "no answer");
    EXPECT_EQ(+result.ProtocolLineNumber, 77);
}

TEST(ExecutionHelpers, LongTextsAreCutToTheirFieldsAndZeroTerminated)
{
    const std::string message(3000, 'm');
    const std::string function(300, 'f');
    PyxResult result = UsedRecord();
    ExecuteCppMethod(&result, "Op", [&] { throw TessmarException(message, "F.cpp", 1, function.c_str()); });
    EXPECT_EQ(std::string(result.Message), message.substr(0, 2047));
    EXPECT_EQ(result.Message[2047], '\0');
    EXPECT_EQ(std::string(result.FunctionName), function.substr(0, 255));

    // A short text leaves nothing of the earlier contents behind it.
    ExecuteCppMethod(&result, "Op", [] { throw TessmarException("x", "F.cpp", 1, "G"); });
    EXPECT_EQ(std::string(result.Message, 2), std::string("x\0", 2));
    EXPECT_EQ(result.Message[2046], '\0');
}
} // namespace
