#include "Utility/EnvironmentVariables.h"

#include <cstdlib>

#include "Exceptions/TessmarException.h"

namespace PyxCommon
{
std::string EnvironmentVariables::GetEnvironmentVariable(const std::string& name)
{
    const char* value = std::getenv(name.c_str());
    if (value == nullptr)
    {
        PYX_THROW(TessmarException, "Environment variable not set");
    }
    return value;
}

bool EnvironmentVariables::IsEnvironmentVariableSet(const std::string& name)
{
    return std::getenv(name.c_str()) != nullptr;
}
} // namespace PyxCommon
