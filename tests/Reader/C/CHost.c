#include "CHost.h"

#include <string.h>

Reader_Handle* CHost_OpenSerialReader(PyxResult* result, const char* portName)
{
    PyxReaderDefinition definition;
    memset(&definition, 0, sizeof definition);
    definition.ProtocolType = PYX_PROTOCOL_SERIAL_BINARY;
    definition.SerialPortSettings.BaudRate = 9600;
    definition.SerialPortSettings.ByteSize = 8;
    definition.SerialPortSettings.DataBits = 4;
    definition.SerialPortSettings.StopBits = 1;
    strncpy(definition.SerialPortSettings.PortName, portName,
            sizeof definition.SerialPortSettings.PortName - 1);

    Reader_Handle* handle = PyxReader_Open(result, &definition, 1);
    if (handle == NULL)
    {
        return NULL;
    }
    Pyx_Init(result, handle);
    if (result->ResultCode != 0)
    {
        PyxResult ignored;
        Pyx_Close(&ignored, handle);
        return NULL;
    }
    return handle;
}

static int ZeroPadded(const char* field, size_t width)
{
    const char* zero = memchr(field, 0, width);
    if (zero == NULL)
    {
        return 0;
    }
    size_t length = (size_t)(zero - field);
    for (size_t i = length; i < width; ++i)
    {
        if (field[i] != 0)
        {
            return 0;
        }
    }
    return 1;
}

int CHost_LibraryInfoIsZeroPadded(void)
{
    const PyxLibraryInfo info = Pyx_BuildLibraryInfo();
    /* The record is nothing but its 28 texts, so it can be walked field by field. */
    static const size_t widths[] = {256, 256, 512,  256,  512,  1024, 1024, 256, 256, 256,
                                    256, 256, 1024, 256,  256,  256,  256,  256, 256, 256,
                                    256, 256, 1024, 1024, 1024, 256,  512,  256};
    const char* field = (const char*)&info;
    size_t total = 0;
    for (size_t i = 0; i < sizeof widths / sizeof widths[0]; ++i)
    {
        if (!ZeroPadded(field + total, widths[i]))
        {
            return 0;
        }
        total += widths[i];
    }
    return total == sizeof info;
}

uint8_t CHost_SetAndReadVolume(PyxResult* result, Reader_Handle* handle, uint8_t volume)
{
    PyxReader_SetBeeperVolume(result, handle, volume);
    if (result->ResultCode != 0)
    {
        return 0xFF;
    }
    uint8_t read = 0xFF;
    PyxReader_GetBeeperVolume(result, handle, &read);
    return result->ResultCode == 0 ? read : 0xFF;
}
