#pragma once

#include <string>

namespace PyxCommon
{
class EnvironmentVariables
{
public:
    // The variable's value; throws when it is not set. Names are case-sensitive.
    static std::string GetEnvironmentVariable(const std::string& name);
    static bool IsEnvironmentVariableSet(const std::string& name);
};
} // namespace PyxCommon
