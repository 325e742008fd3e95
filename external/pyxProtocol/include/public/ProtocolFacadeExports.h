#pragma once

#include <cstddef>

#include "ProtocolCommandResult.h"
#include "PyxExport.h"
#include "Structures/ReaderDefinition.h"

// Discovery in two calls, for callers that hand in a plain array. With `readers` null, finds the supported
// USB readers present, keeps them and stores their number in `*readerCount`. With `readers` given, copies the
// readers kept by the last counting call into it; `*readerCount` must equal their number. A null
// `readerCount` is refused. Callers on several threads are served one at a time.
PYX_API ProtocolCommandResult DiscoverUsbReaders(PyxCommon::ReaderDefinition* readers,
                                                 std::size_t* readerCount);
