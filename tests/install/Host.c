/* A C host built against the installed library: it includes the installed C header and asks the library
 * to describe itself, so a header that is not C, a missing symbol or a wrong library path fails it. */
#include <stdio.h>
#include <string.h>

#include "Reader/Reader_C.h"

int main(void)
{
    PyxLibraryInfo info = Pyx_BuildLibraryInfo();
    if (strcmp(info.LibraryName, "Velmora Library") != 0 || strcmp(info.BuildPlatform, "linux") != 0)
    {
        printf("unexpected library information: '%s' on '%s'\n", info.LibraryName, info.BuildPlatform);
        return 1;
    }

    PyxResult result;
    memset(&result, 0xAB, sizeof result);
    Pyx_Close(&result, NULL);
    if (result.ResultCode != 1 || strcmp(result.Message, "Called with null handle") != 0)
    {
        printf("unexpected result for a null handle: %u '%s'\n", result.ResultCode, result.Message);
        return 1;
    }
    puts("C host ok");
    return 0;
}
