#include <cstddef>
#include <cstdint>
#include <exception>

#include "FuzzInput.h"
#include "ReplyScript.h"
#include "VisitorFactories.h"
#include "VisitorTestSupport.h"

// One operation on one protocol, through its visitor and commands, against whatever the reader answers (see
// ReplyScript.h). When the replies run out the transport throws, as a reader gone silent does. Every error
// derived from std::exception is an accepted end; anything else escaping, a sanitizer report, a leak or a
// run that does not end is a finding.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const auto operations = PyxTest::AllOperations();
    PyxFuzz::ReplyScript script;
    if (!PyxFuzz::ReadReplyScript(data, size, script))
    {
        return 0;
    }
    const auto on = static_cast<PyxTest::On>(script.Protocol % 3);
    PyxTest::ScriptedTransport transport;
    transport.QueueReplies(script.Replies);
    const auto visitor = operations[script.Operation % operations.size()].make();
    try
    {
        PyxTest::Dispatch(on, *visitor, transport);
    }
    catch (const std::exception&)
    {
    }
    catch (...)
    {
        PyxFuzz::Fail("an exception of no standard type escaped");
    }
    return 0;
}
