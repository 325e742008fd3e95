#pragma once

#include "PyxExport.h"

namespace Pyx
{
class Reader;

// Builds the concrete reader on an open protocol facade.
class PYX_API ReaderFactory
{
public:
    ReaderFactory() = default;
    ReaderFactory(const ReaderFactory&) = default;
    ReaderFactory& operator=(const ReaderFactory&);
    ReaderFactory& operator=(ReaderFactory&&) noexcept;

    static Reader* BuildLyrant(void* facade, void* facadeHandle);
};
} // namespace Pyx
