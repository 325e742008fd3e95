#pragma once

// The C host of the end-to-end tests (CHost.c), compiled as C11: it uses the C header's records itself.

#include "Reader/Reader_C.h"

#ifdef __cplusplus
extern "C"
{
#endif

    // Opens a SerialBinary reader on `portName` at 9600 baud, 8N1, and initialises it; null on failure (the
    // result tells why).
    Reader_Handle* CHost_OpenSerialReader(PyxResult* result, const char* portName);
    // 1 when every text of Pyx_BuildLibraryInfo() is zero-terminated and zero up to the end of its field.
    int CHost_LibraryInfoIsZeroPadded(void);
    // Beeper volume, set to `volume` and read back; 0xFF on failure.
    uint8_t CHost_SetAndReadVolume(PyxResult* result, Reader_Handle* handle, uint8_t volume);

#ifdef __cplusplus
}
#endif
