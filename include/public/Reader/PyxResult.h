#pragma once

/* The outcome of one call of the C interface: filled by every PyxReader_* and Pyx_* function that takes
 * it, owned by the caller. Byte-packed, 9226 bytes, integers little-endian; plain C so that C hosts can
 * include it. Every text is zero-terminated and cut to fit its field. */

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <assert.h>
#endif

#pragma pack(push, 1)
typedef struct PyxResult
{
    /* 0 success, 1 error. */
    uint8_t ResultCode;
    char ExceptionType[256];
    char Message[2048];
    /* Source file that recorded the outcome, without directories. */
    char FileName[2048];
    int32_t LineNumber;
    char FunctionName[256];

    /* Filled only when the failure carried a protocol-layer failure; cleared by every other call. */
    uint8_t HasProtocolException;
    char ProtocolExceptionType[256];
    char ProtocolMessage[2048];
    char ProtocolFileName[2048];
    int32_t ProtocolLineNumber;
    char ProtocolFunctionName[256];
} PyxResult;
#pragma pack(pop)

static_assert(sizeof(PyxResult) == 9226, "PyxResult is 9226 bytes");
static_assert(offsetof(PyxResult, ResultCode) == 0, "PyxResult.ResultCode at 0");
static_assert(offsetof(PyxResult, ExceptionType) == 1, "PyxResult.ExceptionType at 1");
static_assert(offsetof(PyxResult, Message) == 257, "PyxResult.Message at 257");
static_assert(offsetof(PyxResult, FileName) == 2305, "PyxResult.FileName at 2305");
static_assert(offsetof(PyxResult, LineNumber) == 4353, "PyxResult.LineNumber at 4353");
static_assert(offsetof(PyxResult, FunctionName) == 4357, "PyxResult.FunctionName at 4357");
static_assert(offsetof(PyxResult, HasProtocolException) == 4613, "PyxResult.HasProtocolException at 4613");
static_assert(offsetof(PyxResult, ProtocolExceptionType) == 4614, "PyxResult.ProtocolExceptionType at 4614");
static_assert(offsetof(PyxResult, ProtocolMessage) == 4870, "PyxResult.ProtocolMessage at 4870");
static_assert(offsetof(PyxResult, ProtocolFileName) == 6918, "PyxResult.ProtocolFileName at 6918");
static_assert(offsetof(PyxResult, ProtocolLineNumber) == 8966, "PyxResult.ProtocolLineNumber at 8966");
static_assert(offsetof(PyxResult, ProtocolFunctionName) == 8970, "PyxResult.ProtocolFunctionName at 8970");
