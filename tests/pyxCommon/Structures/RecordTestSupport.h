#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Exceptions/TessmarException.h"

namespace PyxTest
{
using Bytes = std::vector<std::uint8_t>;

// The record's bytes as a host would copy them.
template <typename Record> Bytes Image(const Record& record)
{
    Bytes bytes(sizeof record);
    std::memcpy(bytes.data(), &record, sizeof record);
    return bytes;
}

// A record as a caller could fill it, bytes and all.
template <typename Record> Record FromImage(const Bytes& bytes)
{
    Record record;
    std::memcpy(&record, bytes.data(), sizeof record);
    return record;
}

struct Failure
{
    std::string message;
    std::string function;
};

// What a TessmarException thrown by `action` says; "<no exception>" when it returns.
inline Failure FailureOf(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (const TessmarException& e)
    {
        return {e.GetMessage(), e.GetFunctionName()};
    }
    return {"<no exception>", ""};
}
} // namespace PyxTest
