#pragma once

#include <cstddef>
#include <cstdint>

#include "PyxExport.h"

// What a facade operation reports instead of throwing: all zero on success; otherwise the kind of failure,
// its message and where it was raised. Every text is cut to fit and ends in a zero byte.
struct PYX_API ProtocolCommandResult
{
    bool HasException;
    char ExceptionType[256];
    char Message[2048];
    char FileName[2048];
    std::int32_t LineNumber;
    char FunctionName[256];
};

static_assert(sizeof(ProtocolCommandResult) == 4616);
static_assert(offsetof(ProtocolCommandResult, HasException) == 0);
static_assert(offsetof(ProtocolCommandResult, ExceptionType) == 1);
static_assert(offsetof(ProtocolCommandResult, Message) == 257);
static_assert(offsetof(ProtocolCommandResult, FileName) == 2305);
static_assert(offsetof(ProtocolCommandResult, LineNumber) == 4356);
static_assert(offsetof(ProtocolCommandResult, FunctionName) == 4360);
