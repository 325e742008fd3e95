#pragma once

#include "Configuration/ReaderConfiguration.h"
#include "Reader/ReaderMetadata.h"
#include "Reader/Reader_C.h"
#include "Structures/Configuration.h"

// The three ways one stored configuration changes form: the reader's five blocks, the interfaces' record
// with its validating setters, and the C interface's 71-byte image of that record.
namespace Pyx
{
// Blocks read from a reader into `configuration` through its setters, so every value is validated. The
// record is expected fresh: card-gone, leading and trailing characters are added to what it holds, and the
// two settings without a block member keep their values. A refused value throws the setter's error and
// leaves the fields set before it; leading plus trailing counts above 3 are refused before any character
// is added.
void ApplyConfigurationBlocks(const PyxProtocol::ReaderConfiguration& blocks,
                              PyxCommon::ReaderConfiguration& configuration);

// A new record holding only the two settings that no block carries (LegacyBitStreamTimeOutMs and
// NotBootDevice), byte for byte as `held` has them: the record a read converts into, so that those two keep
// the caller's values.
PyxCommon::ReaderConfiguration SettingsWithoutBlockMember(const PyxCommon::ReaderConfiguration& held);

// The blocks that store `configuration`. Nothing is validated here (the facade checks the blocks); the
// four block-2 settings that belong to the reader itself are left zero for ApplyReaderOwnedSettings.
PyxProtocol::ReaderConfiguration ToConfigurationBlocks(const PyxCommon::ReaderConfiguration& configuration);

// Overrides block 2's reader-owned settings with what the reader reported about itself.
void ApplyReaderOwnedSettings(PyxProtocol::ReaderConfiguration& blocks, const ReaderMetadataStruct& metadata);

// The C image turned into a record through the setters, in the image's field order, so a value out of
// range is refused with the setter's message. Leading plus trailing counts above 3 are refused.
PyxCommon::ReaderConfiguration FromConfigurationRecord(const PyxReaderConfiguration& record);
} // namespace Pyx
