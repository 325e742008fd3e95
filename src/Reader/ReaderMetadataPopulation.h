#pragma once

#include <string>

#include "Reader/ReaderMetadata.h"

namespace PyxProtocol
{
class ProtocolFacade;
}

namespace Pyx::Detail
{
// Asks the reader every metadata question in turn and fills `record`, which must start zeroed (apart from
// its protocol type). A query that fails leaves its fields zero; an exception ends the filling with the
// fields written so far.
void FillMetadata(PyxProtocol::ProtocolFacade& facade, ReaderMetadataStruct& record);

// One line per module, "<label>: Supported (Installed)", "... (Not installed)" or "<label>: Not Supported".
std::string InstalledHardwareText(const ReaderMetadataStruct& record);
} // namespace Pyx::Detail
