#pragma once

#include "ProtocolFacade.h"
#include "Structures/ReaderDefinition.h"

namespace Pyx::Testing
{
// AbstractReader::CreateReaderInstance, with the reader's transport and the delays its commands wait through
// made by `seams`: for tests and benchmarks that drive the whole library over an in-process reader. Not
// exported: they link the reader's static library.
void* CreateReaderInstanceWithSeams(const PyxCommon::ReaderDefinition& definition, int retryCount,
                                    const PyxProtocol::ProtocolFacade::Seams& seams);
} // namespace Pyx::Testing
