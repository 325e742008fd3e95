#include "Utilities/ReaderTestSeams.h"

#include "Reader/AbstractReader.h"

namespace Pyx::Testing
{
class ReaderCreation
{
public:
    static void* Create(const PyxCommon::ReaderDefinition& definition, int retryCount,
                        const PyxProtocol::ProtocolFacade::Seams& seams)
    {
        return AbstractReader::CreateReaderInstanceWith(
            definition, [&](ProtocolCommandResult& result)
            { return PyxProtocol::ProtocolFacade::CreateInstance(definition, retryCount, &result, seams); });
    }
};

void* CreateReaderInstanceWithSeams(const PyxCommon::ReaderDefinition& definition, int retryCount,
                                    const PyxProtocol::ProtocolFacade::Seams& seams)
{
    return ReaderCreation::Create(definition, retryCount, seams);
}
} // namespace Pyx::Testing
