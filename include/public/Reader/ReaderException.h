#pragma once

#include <string>

#include "Exceptions/TessmarException.h"
#include "PyxExport.h"

// The protocol layer's failure record and the C interface's result record.
struct ProtocolCommandResult;
struct PyxResult;

namespace Pyx
{
// What the reader operations throw for their own failures. Beside where it was raised it can carry the
// protocol layer's own failure, so a host sees both the reader-level and the protocol-level cause. Not every
// failure is one: the configuration records and the card-type catalogue throw TessmarException, and a
// reader used after Close or while it is destroyed throws std::runtime_error (Reader.h, AbstractReader.h).
class PYX_API ReaderException : public TessmarException
{
public:
    ReaderException(const char* message, const char* file, int line, const char* function);
    ReaderException(const std::string& message, const char* file, int line, const char* function);
    // With a failed result the message becomes "<message> [Protocol Exception: <result message>]" and the
    // result's fields are carried; with a successful one the message is kept and nothing is carried.
    ReaderException(const std::string& message, const ProtocolCommandResult& result, const char* file,
                    int line, const char* function);
    ReaderException(const ReaderException& other);
    ReaderException(ReaderException&& other) noexcept;
    ReaderException& operator=(const ReaderException& other);
    ReaderException& operator=(ReaderException&& other) noexcept;
    ~ReaderException() override;

    bool HasProtocolException() const { return hasProtocolException_; }
    const std::string& GetProtocolExceptionType() const { return protocolExceptionType_; }
    const std::string& GetProtocolMessage() const { return protocolMessage_; }
    const std::string& GetProtocolFileName() const { return protocolFileName_; }
    int GetProtocolLineNumber() const { return protocolLineNumber_; }
    const std::string& GetProtocolFunctionName() const { return protocolFunctionName_; }

    // Fills a C result record as an error, the carried protocol failure included; texts are cut to fit.
    void PopulatePyxResult(PyxResult& result) const;

private:
    bool hasProtocolException_ = false;
    std::string protocolExceptionType_;
    std::string protocolMessage_;
    std::string protocolFileName_;
    int protocolLineNumber_ = 0;
    std::string protocolFunctionName_;
};
} // namespace Pyx
