#pragma once

#include "Reader/LibraryInfo.h"

namespace Pyx
{
// The record of this build: fixed texts and the ones the build configured. Every field is zero past its text.
LibraryInfo BuildLibraryInfo();
} // namespace Pyx
