#pragma once

#include <cstdint>
#include <functional>

#include "Operations/CardData.h"
#include "PyxExport.h"
#include "Reader/AbstractReader.h"
#include "Reader/CardData.h"

namespace Pyx
{
// The reader of the class interface: every device operation runs under its capability check on the
// reader's protocol facade.
class PYX_API Reader : public AbstractReader
{
public:
    Reader(void* facade, void* facadeHandle);
    ~Reader() override;

    // Reads the metadata, installs a fresh capability profile and starts polling for the callbacks
    // already subscribed.
    void Init() override;

    // Subscribes a callback to every new card presented; polling starts now when the reader is
    // initialised, otherwise at Init. The size parameter applies to all of this reader's polling.
    unsigned int OnCredentialPresented(std::function<void(CardData&)> callback,
                                       PyxProtocol::GetCardDataSizeParameters sizeParameters);
    // Unknown ids are ignored; removing the last subscription stops polling. A callback may remove itself.
    void UnsubscribeCredentialCallback(unsigned int subscriptionId);

    // Each operation holds an OperationScope for its whole run and hands its facade work to
    // ExecuteWithCapabilityCheck (Utilities/CapabilityGuard.h) with scope.Profile(); the metadata it needs
    // comes from MetadataSnapshot().
    // --- Reader operations ---
    // --- end of reader operations ---
};
} // namespace Pyx
