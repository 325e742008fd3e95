#include "Reader/ReaderException.h"

#include <utility>

#include <fmt/format.h>

#include "ProtocolFacade.h"
#include "Reader/PyxResult.h"
#include "Structures/ReaderDefinition.h"

namespace Pyx
{
namespace
{
std::string MessageWithProtocolCause(const std::string& message, const ProtocolCommandResult& result)
{
    if (!result.HasException)
    {
        return message;
    }
    return fmt::format("{} [Protocol Exception: {}]", message, PyxCommon::FieldText(result.Message));
}
} // namespace

ReaderException::ReaderException(const char* message, const char* file, int line, const char* function)
    : TessmarException(message, file, line, function)
{
}

ReaderException::ReaderException(const std::string& message, const char* file, int line, const char* function)
    : TessmarException(message, file, line, function)
{
}

ReaderException::ReaderException(const std::string& message, const ProtocolCommandResult& result,
                                 const char* file, int line, const char* function)
    : TessmarException(MessageWithProtocolCause(message, result), file, line, function),
      hasProtocolException_(result.HasException)
{
    if (hasProtocolException_)
    {
        protocolExceptionType_ = PyxCommon::FieldText(result.ExceptionType);
        protocolMessage_ = PyxCommon::FieldText(result.Message);
        protocolFileName_ = PyxCommon::FieldText(result.FileName);
        protocolLineNumber_ = result.LineNumber;
        protocolFunctionName_ = PyxCommon::FieldText(result.FunctionName);
    }
}

ReaderException::ReaderException(const ReaderException& other) = default;
ReaderException::ReaderException(ReaderException&& other) noexcept = default;
ReaderException& ReaderException::operator=(const ReaderException& other) = default;
ReaderException& ReaderException::operator=(ReaderException&& other) noexcept = default;
ReaderException::~ReaderException() = default;

void ReaderException::PopulatePyxResult(PyxResult& result) const
{
    result.ResultCode = 1;
    PyxCommon::SetFieldText(result.ExceptionType, GetExceptionType());
    PyxCommon::SetFieldText(result.Message, GetMessage());
    PyxCommon::SetFieldText(result.FileName, GetFileName());
    result.LineNumber = GetLineNumber();
    PyxCommon::SetFieldText(result.FunctionName, GetFunctionName());
    result.HasProtocolException = hasProtocolException_ ? 1 : 0;
    if (hasProtocolException_)
    {
        PyxCommon::SetFieldText(result.ProtocolExceptionType, protocolExceptionType_);
        PyxCommon::SetFieldText(result.ProtocolMessage, protocolMessage_);
        PyxCommon::SetFieldText(result.ProtocolFileName, protocolFileName_);
        result.ProtocolLineNumber = protocolLineNumber_;
        PyxCommon::SetFieldText(result.ProtocolFunctionName, protocolFunctionName_);
        return;
    }
    result.ProtocolExceptionType[0] = '\0';
    result.ProtocolMessage[0] = '\0';
    result.ProtocolFileName[0] = '\0';
    result.ProtocolLineNumber = 0;
    result.ProtocolFunctionName[0] = '\0';
}
} // namespace Pyx
