#pragma once

// What the reader operations share: the steps of a facade sequence, the configuration reads and writes that
// the .hwg transfers repeat for every configuration, and the waits of the smart-card transfer.

#include <cstdint>

#include "Configuration/ReaderConfiguration.h"
#include "OperationsDelay.h"
#include "ProtocolCommandResult.h"
#include "ProtocolFacade.h"
#include "Reader/ReaderCapability.h"
#include "Reader/ReaderCapabilityProfile.h"
#include "Reader/ReaderMetadata.h"
#include "SequenceLock.h"
#include "Structures/Configuration.h"
#include "Structures/ExtendedConfiguration.h"

// Ends a sequence of facade steps at its first failed step, returning that step's result.
#define PYX_STEP(call)                                                                                       \
    do                                                                                                       \
    {                                                                                                        \
        ProtocolCommandResult pyxStepResult = (call);                                                        \
        if (pyxStepResult.HasException)                                                                      \
        {                                                                                                    \
            return pyxStepResult;                                                                            \
        }                                                                                                    \
    } while (false)

namespace Pyx
{
struct OperationsSupport
{
    // The file that the operations' own failures name: the reader's source file, as hosts have always seen.
    static constexpr const char* kSourceFile = "Reader.cpp";

    static ProtocolCommandResult Succeeded() { return ProtocolCommandResult{}; }
    static ReaderCapabilitySet Requiring(ReaderCapability capability);
    // Stores the active configuration.
    static ProtocolCommandResult Store(PyxProtocol::ProtocolFacade& facade);

    // GetReaderConfiguration under its own guard: both records are replaced only when every step succeeded,
    // and the reader configuration keeps its two settings that no block carries.
    static void ReadConfiguration(PyxProtocol::ProtocolFacade& facade, const ReaderCapabilityProfile& profile,
                                  std::uint8_t configuration,
                                  PyxCommon::ReaderConfiguration& readerConfiguration,
                                  PyxCommon::ExtendedConfiguration& extendedConfiguration);
    // SetReaderConfiguration, from its keystroking check to the final store.
    static void WriteConfiguration(PyxProtocol::ProtocolFacade& facade,
                                   const ReaderCapabilityProfile& profile,
                                   const ReaderMetadataStruct& metadata, std::uint8_t configuration,
                                   const PyxCommon::ReaderConfiguration& readerConfiguration,
                                   const PyxCommon::ExtendedConfiguration& extendedConfiguration,
                                   const PyxCommon::HashData& hashData);
};

} // namespace Pyx
