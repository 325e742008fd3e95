#include "Reader/ReaderFactory.h"

#include "Reader/Reader.h"

namespace Pyx
{
ReaderFactory& ReaderFactory::operator=(const ReaderFactory&)
{
    return *this;
}

ReaderFactory& ReaderFactory::operator=(ReaderFactory&&) noexcept
{
    return *this;
}

Reader* ReaderFactory::BuildLyrant(void* facade, void* facadeHandle)
{
    return new Reader(facade, facadeHandle);
}
} // namespace Pyx
