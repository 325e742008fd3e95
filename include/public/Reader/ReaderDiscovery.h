#pragma once

#include <vector>

#include "PyxExport.h"
#include "Structures/ReaderDefinition.h"

namespace Pyx
{
// Lists the attached USB readers, each as a definition ready to open.
class PYX_API ReaderDiscovery
{
public:
    // Empty when no reader is attached; throws Pyx::ReaderException when discovery itself fails.
    static std::vector<PyxCommon::ReaderDefinition> DiscoverUsbReaders();
};
} // namespace Pyx
