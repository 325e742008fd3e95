#pragma once

/* The flat C interface of libVelmora.so. Every function but Pyx_BuildLibraryInfo takes a caller-owned
 * PyxResult first and fills it instead of throwing; a null PyxResult makes the call do nothing. A reader
 * handle is what PyxReader_Open returned; it stays valid until Pyx_Close. Pyx_Init must follow
 * PyxReader_Open before any reader operation.
 *
 * The records below are byte-packed images of the library's own records (multi-byte values little-endian),
 * so a host fills and reads them field by field. Plain C11; C++ hosts may include it too. */

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <assert.h>
#endif

#include "CardTypes/CardTypeInfo.h"
#include "PyxExport.h"
#include "Reader/LibraryInfo.h"
#include "Reader/PyxResult.h"

#ifdef __cplusplus
extern "C"
{
#endif

    /* An open reader; only ever used through a pointer. */
    typedef struct Reader_Handle Reader_Handle;

    /* Called on the reader's own dispatch thread for every new card; the bytes are valid during the call. */
    typedef void (*PyxCredentialCallback)(const unsigned char* cardBytes, unsigned int bitCount);

    /* Values of the one-byte arguments. */
    enum
    {
        PYX_BEEP_SHORT = 0,
        PYX_BEEP_LONG = 1,
        PYX_CARD_DATA_SIZE_8_BYTES = 1,
        PYX_CARD_DATA_SIZE_32_BYTES = 2,
        PYX_BLE_DATA = 1,
        PYX_BLE_KEY = 2,
        PYX_BLE_UNENCRYPTED_KEY = 3,
        PYX_CHECKPOINT_FACTORY = 1,
        PYX_CHECKPOINT_USER = 2,
        PYX_PROTOCOL_FEATURE_REPORT = 1,
        PYX_PROTOCOL_MFP24 = 2,
        PYX_PROTOCOL_SERIAL_BINARY = 3
    };

#pragma pack(push, 1)

    /* The card types a reader supports; entries past Count are zero. */
    typedef struct SupportedCardTypesResult
    {
        uint32_t Count;
        CardTypeInfo CardTypes[256];
    } SupportedCardTypesResult;

    /* One stored configuration of a reader (71 bytes). Flags are 0 or 1; times in milliseconds. */
    typedef struct PyxReaderConfiguration
    {
        uint8_t FacDigitCount;
        uint8_t IdDigitCount;
        uint8_t TotalStripLeadingParityCount;
        uint8_t TotalStripTrailingParityCount;
        uint8_t IdBitCount;
        uint8_t ExpectedBitCount;
        uint8_t IdAndFacDelimiter;
        uint8_t TerminationCharacter;
        uint8_t UseFixedLengthForFacAndId;
        uint8_t EnforceExpectedBitCount;
        uint8_t StripFacFromId;
        uint8_t SendFacAfterStrippingIt;
        uint8_t UseIdAndFacDelimiter;
        uint8_t DisableKeystrokeTerminationCharacter;
        uint8_t EnableContinuousRead;
        uint8_t DisableKeystroking;
        uint16_t LegacyBitStreamTimeOutMs;
        uint16_t DataHoldTimeMs;
        uint16_t LockOutTimeMs;
        uint16_t KeyPressTimeMs;
        uint16_t KeyReleaseTimeMs;
        uint8_t EnableIdExtendedPrecision;
        uint8_t UseLowercaseHex;
        uint8_t EnableProxProEmulation;
        uint8_t EnableHexadecimalId;
        uint8_t EnableHexadecimalFac;
        uint8_t UseIndividualIdAndFacNumberFormats;
        uint8_t UseNumericKeypad;
        uint8_t ReaderSupportsReverseAllBytes;
        uint8_t ReaderSupportsAsciiExtended;
        uint8_t ReaderSupportsExtendedMode;
        uint8_t EnableDravikMode;
        uint8_t EnableRedLed;
        uint8_t EnableGreenLed;
        uint8_t EnableOemRelay;
        uint8_t EnableOemBeeper;
        uint8_t NotBootDevice;
        uint8_t UseLeadingCharacters;
        uint8_t EnabledSoftwareControlledLed;
        uint8_t UseHexadecimalForBothFacAndId;
        uint8_t InvertWiegandBits;
        uint8_t EnableBeepOnCardRead;
        uint8_t ReverseWiegandBits;
        uint8_t ReverseWiegandBytes;
        uint8_t UseDataInvert;
        uint8_t CardGoneCharacters[2];
        /* Leading plus trailing at most 3; the leading characters come first in the slots. */
        uint8_t LeadingCharacterCount;
        uint8_t TrailingCharacterCount;
        uint8_t LeadingTrailingCharacters[3];
        uint8_t UseIndividualIdAndFacFixedLengths;
        uint8_t UseFixedLengthFac;
        uint8_t UseFixedLengthId;
        uint8_t CfgRb3;
        uint8_t CfgRb4;
        uint8_t EnableFacExtendedPrecision;
        uint8_t AzertyKeyboardShift;
        uint8_t EnableExtendedMode;
        uint8_t DisableCardConfiguration;
        uint16_t CardType;
        uint8_t HighPriorityCardType;
        uint8_t QuorvaneCompatibilityCharacter;
        uint8_t QuorvaneCharacterCount;
    } PyxReaderConfiguration;

    /* The field and separator configuration of a reader (2428 bytes), one byte per setting. */
    typedef struct PyxFieldSeparatorDataHeader
    {
        uint8_t Version;
        uint8_t HeaderSize;
        uint8_t FieldEntrySize;
        uint8_t FieldEntryCount;
        uint8_t SeparatorEntrySize;
        uint8_t SeparatorEntryCount;
        uint8_t MaxStorageSize;
    } PyxFieldSeparatorDataHeader;

    typedef struct PyxFieldEntry
    {
        uint8_t FieldValid;
        uint8_t ConversionType;
        uint8_t FixedFieldOutputLength;
        uint8_t ReverseBits;
        uint8_t ReverseBytes;
        uint8_t FiveBMS;
        uint8_t InvertBits;
        uint8_t ReverseAllBytes;
        uint8_t UseHash;
        uint8_t ReservedFlag;
        uint8_t StartingBitPosition;
        uint8_t BitCountOfField;
    } PyxFieldEntry;

    typedef struct PyxSeparatorCharacter
    {
        uint8_t USBKeyScanCode;
        uint8_t SecondByte;
    } PyxSeparatorCharacter;

    typedef struct PyxSeparatorEntry
    {
        uint8_t SeparatorValid;
        uint8_t CharacterSize;
        uint8_t VirtualCharacterCount;
        uint8_t ByteOffset;
        PyxSeparatorCharacter SeparatorCharacters[31];
    } PyxSeparatorEntry;

    typedef struct PyxApplicationData
    {
        uint8_t FieldDefinitionType;
        uint8_t EnhanceSecurityFlag;
        uint8_t MaxBitCount;
    } PyxApplicationData;

    typedef struct PyxExtendedConfiguration
    {
        PyxFieldSeparatorDataHeader FieldSeparatorDataHeader;
        PyxFieldEntry FieldEntries[31];
        PyxSeparatorEntry SeparatorEntries[31];
        PyxApplicationData ApplicationData;
    } PyxExtendedConfiguration;

    /* Sent with an extended configuration (33 bytes). */
    typedef struct PyxHashData
    {
        uint8_t HashValue1[16];
        uint8_t HashValue2[16];
        uint8_t EnhanceSecurityFirmwareState;
    } PyxHashData;

    /* One smart-card configuration blob (1021 bytes): its header, then DataLength bytes of data. */
    typedef struct PyxBlobHeader
    {
        uint8_t BlobType;
        uint8_t SecondByte;
        uint16_t DataLength;
        uint8_t FifthByte;
    } PyxBlobHeader;

    typedef struct PyxSmartCardConfiguration
    {
        PyxBlobHeader Header;
        uint8_t Data[1016];
    } PyxSmartCardConfiguration;

    /* A reader to open, or one that discovery found (1041 bytes). Texts are zero-terminated. */
    typedef struct PyxDeviceId
    {
        uint16_t VendorId;
        uint16_t ProductId;
        char UsbPath[512];
        char SerialNumber[256];
    } PyxDeviceId;

    typedef struct PyxSerialPortSettings
    {
        uint32_t BaudRate;
        uint8_t Parity;      /* 0 none, 1 odd, 2 even, 3 mark, 4 space */
        uint8_t FlowControl; /* 0 none */
        char PortName[256];  /* "/dev/ttyUSB0", "ttyUSB0" or "COM1" */
        int32_t ByteSize;
        uint8_t DataBits; /* 1 five, 2 six, 3 seven, 4 eight */
        uint8_t StopBits; /* 1 one, 2 two */
    } PyxSerialPortSettings;

    typedef struct PyxReaderDefinition
    {
        PyxDeviceId DeviceId;
        uint8_t ProtocolType; /* PYX_PROTOCOL_* */
        PyxSerialPortSettings SerialPortSettings;
    } PyxReaderDefinition;

    /* What the library knows of an open reader (5751 bytes). Texts are zero-terminated; each item is followed
     * by its present flag. */
    typedef struct PyxFirmwareVersion
    {
        uint32_t Version;
        uint8_t ModuleClass;
        uint8_t ModuleType;
    } PyxFirmwareVersion;

    typedef struct PyxBluetoothFirmwareVersion
    {
        uint32_t Field32A;
        uint32_t Field32B;
        uint32_t Field32C;
        uint8_t ModuleClass;
        uint8_t ModuleType;
    } PyxBluetoothFirmwareVersion;

    typedef struct PyxReaderMetadata
    {
        char MicrocontrollerName[512];
        uint8_t MicrocontrollerNamePresent;
        char HardwarePlatformText[512];
        uint8_t HardwarePlatformTextPresent;
        char DeviceIdText[512];
        uint8_t DeviceIdTextPresent;
        char PartNumber[512];
        uint8_t PartNumberPresent;
        char ProductLineText[512];
        uint8_t ProductLineTextPresent;
        uint32_t ConfigurationCount;
        uint8_t ConfigurationCountPresent;
        char ReaderString2[512];
        uint8_t ReaderString2Present;
        char Esn[512];
        uint8_t EsnPresent;
        char InstalledHardwareText[512];
        uint8_t InstalledHardwareTextPresent;
        char InstalledHardwareText2[512];
        uint8_t InstalledHardwareText2Present;
        /* Modules 0 to 9 supported, then modules 0 to 7 installed. */
        uint8_t InstalledHardware[18];
        uint8_t InstalledHardwarePresent;
        char ReaderString7[512];
        uint8_t ReaderString7Present;
        char ReaderString4[512];
        uint8_t ReaderString4Present;
        PyxFirmwareVersion ControlFirmwareVersion0;
        uint8_t ControlFirmwareVersion0Present;
        PyxFirmwareVersion ControlFirmwareVersion1;
        uint8_t ControlFirmwareVersion1Present;
        PyxFirmwareVersion ControlFirmwareVersion2;
        uint8_t ControlFirmwareVersion2Present;
        PyxFirmwareVersion RadioFirmwareVersion0;
        uint8_t RadioFirmwareVersion0Present;
        PyxFirmwareVersion RadioFirmwareVersion1;
        uint8_t RadioFirmwareVersion1Present;
        PyxFirmwareVersion RadioFirmwareVersion2;
        uint8_t RadioFirmwareVersion2Present;
        PyxBluetoothFirmwareVersion BluetoothFirmwareVersion;
        uint8_t BluetoothFirmwareVersionPresent;
        PyxFirmwareVersion HidSeSamFirmwareVersion;
        uint8_t HidSeSamFirmwareVersionPresent;
        PyxFirmwareVersion NxpSamFirmwareVersion;
        uint8_t NxpSamFirmwareVersionPresent;
        PyxFirmwareVersion FelicaSamFirmwareVersion;
        uint8_t FelicaSamFirmwareVersionPresent;
        uint8_t ProtocolType;
        uint8_t ExtendedOutputCapable;
        uint8_t TransparentModeReported;
        uint8_t ReaderSupportsReverseAllBytes;
        uint8_t ExtendedAscii;
        uint8_t Dravik;
    } PyxReaderMetadata;

    /* LED state of one configuration (2 bytes). LedColor: 0 not under software control, 1 both off, 2 red,
     * 3 green, 4 red and green. */
    typedef struct PyxLedConfiguration
    {
        uint8_t LedColor;
        bool SoftwareControlled;
    } PyxLedConfiguration;

    /* The reader's locally assigned identifier as it reports it (8 bytes). */
    typedef struct PyxLuidResponseInformation
    {
        uint16_t Field16A;
        uint16_t Field16B;
        uint32_t Field32;
    } PyxLuidResponseInformation;

#pragma pack(pop)

    /* The layouts are part of the interface. */
    static_assert(sizeof(SupportedCardTypesResult) == 50180, "SupportedCardTypesResult is 50180 bytes");
    static_assert(offsetof(SupportedCardTypesResult, Count) == 0, "SupportedCardTypesResult.Count at 0");
    static_assert(offsetof(SupportedCardTypesResult, CardTypes) == 4,
                  "SupportedCardTypesResult.CardTypes at 4");
    static_assert(sizeof(PyxReaderConfiguration) == 71, "PyxReaderConfiguration is 71 bytes");
    static_assert(offsetof(PyxReaderConfiguration, FacDigitCount) == 0,
                  "PyxReaderConfiguration.FacDigitCount at 0");
    static_assert(offsetof(PyxReaderConfiguration, IdDigitCount) == 1,
                  "PyxReaderConfiguration.IdDigitCount at 1");
    static_assert(offsetof(PyxReaderConfiguration, TotalStripLeadingParityCount) == 2,
                  "PyxReaderConfiguration.TotalStripLeadingParityCount at 2");
    static_assert(offsetof(PyxReaderConfiguration, TotalStripTrailingParityCount) == 3,
                  "PyxReaderConfiguration.TotalStripTrailingParityCount at 3");
    static_assert(offsetof(PyxReaderConfiguration, IdBitCount) == 4,
                  "PyxReaderConfiguration.IdBitCount at 4");
    static_assert(offsetof(PyxReaderConfiguration, ExpectedBitCount) == 5,
                  "PyxReaderConfiguration.ExpectedBitCount at 5");
    static_assert(offsetof(PyxReaderConfiguration, IdAndFacDelimiter) == 6,
                  "PyxReaderConfiguration.IdAndFacDelimiter at 6");
    static_assert(offsetof(PyxReaderConfiguration, TerminationCharacter) == 7,
                  "PyxReaderConfiguration.TerminationCharacter at 7");
    static_assert(offsetof(PyxReaderConfiguration, UseFixedLengthForFacAndId) == 8,
                  "PyxReaderConfiguration.UseFixedLengthForFacAndId at 8");
    static_assert(offsetof(PyxReaderConfiguration, EnforceExpectedBitCount) == 9,
                  "PyxReaderConfiguration.EnforceExpectedBitCount at 9");
    static_assert(offsetof(PyxReaderConfiguration, StripFacFromId) == 10,
                  "PyxReaderConfiguration.StripFacFromId at 10");
    static_assert(offsetof(PyxReaderConfiguration, SendFacAfterStrippingIt) == 11,
                  "PyxReaderConfiguration.SendFacAfterStrippingIt at 11");
    static_assert(offsetof(PyxReaderConfiguration, UseIdAndFacDelimiter) == 12,
                  "PyxReaderConfiguration.UseIdAndFacDelimiter at 12");
    static_assert(offsetof(PyxReaderConfiguration, DisableKeystrokeTerminationCharacter) == 13,
                  "PyxReaderConfiguration.DisableKeystrokeTerminationCharacter at 13");
    static_assert(offsetof(PyxReaderConfiguration, EnableContinuousRead) == 14,
                  "PyxReaderConfiguration.EnableContinuousRead at 14");
    static_assert(offsetof(PyxReaderConfiguration, DisableKeystroking) == 15,
                  "PyxReaderConfiguration.DisableKeystroking at 15");
    static_assert(offsetof(PyxReaderConfiguration, LegacyBitStreamTimeOutMs) == 16,
                  "PyxReaderConfiguration.LegacyBitStreamTimeOutMs at 16");
    static_assert(offsetof(PyxReaderConfiguration, DataHoldTimeMs) == 18,
                  "PyxReaderConfiguration.DataHoldTimeMs at 18");
    static_assert(offsetof(PyxReaderConfiguration, LockOutTimeMs) == 20,
                  "PyxReaderConfiguration.LockOutTimeMs at 20");
    static_assert(offsetof(PyxReaderConfiguration, KeyPressTimeMs) == 22,
                  "PyxReaderConfiguration.KeyPressTimeMs at 22");
    static_assert(offsetof(PyxReaderConfiguration, KeyReleaseTimeMs) == 24,
                  "PyxReaderConfiguration.KeyReleaseTimeMs at 24");
    static_assert(offsetof(PyxReaderConfiguration, EnableIdExtendedPrecision) == 26,
                  "PyxReaderConfiguration.EnableIdExtendedPrecision at 26");
    static_assert(offsetof(PyxReaderConfiguration, UseLowercaseHex) == 27,
                  "PyxReaderConfiguration.UseLowercaseHex at 27");
    static_assert(offsetof(PyxReaderConfiguration, EnableProxProEmulation) == 28,
                  "PyxReaderConfiguration.EnableProxProEmulation at 28");
    static_assert(offsetof(PyxReaderConfiguration, EnableHexadecimalId) == 29,
                  "PyxReaderConfiguration.EnableHexadecimalId at 29");
    static_assert(offsetof(PyxReaderConfiguration, EnableHexadecimalFac) == 30,
                  "PyxReaderConfiguration.EnableHexadecimalFac at 30");
    static_assert(offsetof(PyxReaderConfiguration, UseIndividualIdAndFacNumberFormats) == 31,
                  "PyxReaderConfiguration.UseIndividualIdAndFacNumberFormats at 31");
    static_assert(offsetof(PyxReaderConfiguration, UseNumericKeypad) == 32,
                  "PyxReaderConfiguration.UseNumericKeypad at 32");
    static_assert(offsetof(PyxReaderConfiguration, ReaderSupportsReverseAllBytes) == 33,
                  "PyxReaderConfiguration.ReaderSupportsReverseAllBytes at 33");
    static_assert(offsetof(PyxReaderConfiguration, ReaderSupportsAsciiExtended) == 34,
                  "PyxReaderConfiguration.ReaderSupportsAsciiExtended at 34");
    static_assert(offsetof(PyxReaderConfiguration, ReaderSupportsExtendedMode) == 35,
                  "PyxReaderConfiguration.ReaderSupportsExtendedMode at 35");
    static_assert(offsetof(PyxReaderConfiguration, EnableDravikMode) == 36,
                  "PyxReaderConfiguration.EnableDravikMode at 36");
    static_assert(offsetof(PyxReaderConfiguration, EnableRedLed) == 37,
                  "PyxReaderConfiguration.EnableRedLed at 37");
    static_assert(offsetof(PyxReaderConfiguration, EnableGreenLed) == 38,
                  "PyxReaderConfiguration.EnableGreenLed at 38");
    static_assert(offsetof(PyxReaderConfiguration, EnableOemRelay) == 39,
                  "PyxReaderConfiguration.EnableOemRelay at 39");
    static_assert(offsetof(PyxReaderConfiguration, EnableOemBeeper) == 40,
                  "PyxReaderConfiguration.EnableOemBeeper at 40");
    static_assert(offsetof(PyxReaderConfiguration, NotBootDevice) == 41,
                  "PyxReaderConfiguration.NotBootDevice at 41");
    static_assert(offsetof(PyxReaderConfiguration, UseLeadingCharacters) == 42,
                  "PyxReaderConfiguration.UseLeadingCharacters at 42");
    static_assert(offsetof(PyxReaderConfiguration, EnabledSoftwareControlledLed) == 43,
                  "PyxReaderConfiguration.EnabledSoftwareControlledLed at 43");
    static_assert(offsetof(PyxReaderConfiguration, UseHexadecimalForBothFacAndId) == 44,
                  "PyxReaderConfiguration.UseHexadecimalForBothFacAndId at 44");
    static_assert(offsetof(PyxReaderConfiguration, InvertWiegandBits) == 45,
                  "PyxReaderConfiguration.InvertWiegandBits at 45");
    static_assert(offsetof(PyxReaderConfiguration, EnableBeepOnCardRead) == 46,
                  "PyxReaderConfiguration.EnableBeepOnCardRead at 46");
    static_assert(offsetof(PyxReaderConfiguration, ReverseWiegandBits) == 47,
                  "PyxReaderConfiguration.ReverseWiegandBits at 47");
    static_assert(offsetof(PyxReaderConfiguration, ReverseWiegandBytes) == 48,
                  "PyxReaderConfiguration.ReverseWiegandBytes at 48");
    static_assert(offsetof(PyxReaderConfiguration, UseDataInvert) == 49,
                  "PyxReaderConfiguration.UseDataInvert at 49");
    static_assert(offsetof(PyxReaderConfiguration, CardGoneCharacters) == 50,
                  "PyxReaderConfiguration.CardGoneCharacters at 50");
    static_assert(offsetof(PyxReaderConfiguration, LeadingCharacterCount) == 52,
                  "PyxReaderConfiguration.LeadingCharacterCount at 52");
    static_assert(offsetof(PyxReaderConfiguration, TrailingCharacterCount) == 53,
                  "PyxReaderConfiguration.TrailingCharacterCount at 53");
    static_assert(offsetof(PyxReaderConfiguration, LeadingTrailingCharacters) == 54,
                  "PyxReaderConfiguration.LeadingTrailingCharacters at 54");
    static_assert(offsetof(PyxReaderConfiguration, UseIndividualIdAndFacFixedLengths) == 57,
                  "PyxReaderConfiguration.UseIndividualIdAndFacFixedLengths at 57");
    static_assert(offsetof(PyxReaderConfiguration, UseFixedLengthFac) == 58,
                  "PyxReaderConfiguration.UseFixedLengthFac at 58");
    static_assert(offsetof(PyxReaderConfiguration, UseFixedLengthId) == 59,
                  "PyxReaderConfiguration.UseFixedLengthId at 59");
    static_assert(offsetof(PyxReaderConfiguration, CfgRb3) == 60, "PyxReaderConfiguration.CfgRb3 at 60");
    static_assert(offsetof(PyxReaderConfiguration, CfgRb4) == 61, "PyxReaderConfiguration.CfgRb4 at 61");
    static_assert(offsetof(PyxReaderConfiguration, EnableFacExtendedPrecision) == 62,
                  "PyxReaderConfiguration.EnableFacExtendedPrecision at 62");
    static_assert(offsetof(PyxReaderConfiguration, AzertyKeyboardShift) == 63,
                  "PyxReaderConfiguration.AzertyKeyboardShift at 63");
    static_assert(offsetof(PyxReaderConfiguration, EnableExtendedMode) == 64,
                  "PyxReaderConfiguration.EnableExtendedMode at 64");
    static_assert(offsetof(PyxReaderConfiguration, DisableCardConfiguration) == 65,
                  "PyxReaderConfiguration.DisableCardConfiguration at 65");
    static_assert(offsetof(PyxReaderConfiguration, CardType) == 66, "PyxReaderConfiguration.CardType at 66");
    static_assert(offsetof(PyxReaderConfiguration, HighPriorityCardType) == 68,
                  "PyxReaderConfiguration.HighPriorityCardType at 68");
    static_assert(offsetof(PyxReaderConfiguration, QuorvaneCompatibilityCharacter) == 69,
                  "PyxReaderConfiguration.QuorvaneCompatibilityCharacter at 69");
    static_assert(offsetof(PyxReaderConfiguration, QuorvaneCharacterCount) == 70,
                  "PyxReaderConfiguration.QuorvaneCharacterCount at 70");
    static_assert(sizeof(PyxFieldSeparatorDataHeader) == 7, "PyxFieldSeparatorDataHeader is 7 bytes");
    static_assert(offsetof(PyxFieldSeparatorDataHeader, Version) == 0,
                  "PyxFieldSeparatorDataHeader.Version at 0");
    static_assert(offsetof(PyxFieldSeparatorDataHeader, HeaderSize) == 1,
                  "PyxFieldSeparatorDataHeader.HeaderSize at 1");
    static_assert(offsetof(PyxFieldSeparatorDataHeader, FieldEntrySize) == 2,
                  "PyxFieldSeparatorDataHeader.FieldEntrySize at 2");
    static_assert(offsetof(PyxFieldSeparatorDataHeader, FieldEntryCount) == 3,
                  "PyxFieldSeparatorDataHeader.FieldEntryCount at 3");
    static_assert(offsetof(PyxFieldSeparatorDataHeader, SeparatorEntrySize) == 4,
                  "PyxFieldSeparatorDataHeader.SeparatorEntrySize at 4");
    static_assert(offsetof(PyxFieldSeparatorDataHeader, SeparatorEntryCount) == 5,
                  "PyxFieldSeparatorDataHeader.SeparatorEntryCount at 5");
    static_assert(offsetof(PyxFieldSeparatorDataHeader, MaxStorageSize) == 6,
                  "PyxFieldSeparatorDataHeader.MaxStorageSize at 6");
    static_assert(sizeof(PyxFieldEntry) == 12, "PyxFieldEntry is 12 bytes");
    static_assert(offsetof(PyxFieldEntry, FieldValid) == 0, "PyxFieldEntry.FieldValid at 0");
    static_assert(offsetof(PyxFieldEntry, ConversionType) == 1, "PyxFieldEntry.ConversionType at 1");
    static_assert(offsetof(PyxFieldEntry, FixedFieldOutputLength) == 2,
                  "PyxFieldEntry.FixedFieldOutputLength at 2");
    static_assert(offsetof(PyxFieldEntry, ReverseBits) == 3, "PyxFieldEntry.ReverseBits at 3");
    static_assert(offsetof(PyxFieldEntry, ReverseBytes) == 4, "PyxFieldEntry.ReverseBytes at 4");
    static_assert(offsetof(PyxFieldEntry, FiveBMS) == 5, "PyxFieldEntry.FiveBMS at 5");
    static_assert(offsetof(PyxFieldEntry, InvertBits) == 6, "PyxFieldEntry.InvertBits at 6");
    static_assert(offsetof(PyxFieldEntry, ReverseAllBytes) == 7, "PyxFieldEntry.ReverseAllBytes at 7");
    static_assert(offsetof(PyxFieldEntry, UseHash) == 8, "PyxFieldEntry.UseHash at 8");
    static_assert(offsetof(PyxFieldEntry, ReservedFlag) == 9, "PyxFieldEntry.ReservedFlag at 9");
    static_assert(offsetof(PyxFieldEntry, StartingBitPosition) == 10,
                  "PyxFieldEntry.StartingBitPosition at 10");
    static_assert(offsetof(PyxFieldEntry, BitCountOfField) == 11, "PyxFieldEntry.BitCountOfField at 11");
    static_assert(sizeof(PyxSeparatorCharacter) == 2, "PyxSeparatorCharacter is 2 bytes");
    static_assert(offsetof(PyxSeparatorCharacter, USBKeyScanCode) == 0,
                  "PyxSeparatorCharacter.USBKeyScanCode at 0");
    static_assert(offsetof(PyxSeparatorCharacter, SecondByte) == 1, "PyxSeparatorCharacter.SecondByte at 1");
    static_assert(sizeof(PyxSeparatorEntry) == 66, "PyxSeparatorEntry is 66 bytes");
    static_assert(offsetof(PyxSeparatorEntry, SeparatorValid) == 0, "PyxSeparatorEntry.SeparatorValid at 0");
    static_assert(offsetof(PyxSeparatorEntry, CharacterSize) == 1, "PyxSeparatorEntry.CharacterSize at 1");
    static_assert(offsetof(PyxSeparatorEntry, VirtualCharacterCount) == 2,
                  "PyxSeparatorEntry.VirtualCharacterCount at 2");
    static_assert(offsetof(PyxSeparatorEntry, ByteOffset) == 3, "PyxSeparatorEntry.ByteOffset at 3");
    static_assert(offsetof(PyxSeparatorEntry, SeparatorCharacters) == 4,
                  "PyxSeparatorEntry.SeparatorCharacters at 4");
    static_assert(sizeof(PyxApplicationData) == 3, "PyxApplicationData is 3 bytes");
    static_assert(offsetof(PyxApplicationData, FieldDefinitionType) == 0,
                  "PyxApplicationData.FieldDefinitionType at 0");
    static_assert(offsetof(PyxApplicationData, EnhanceSecurityFlag) == 1,
                  "PyxApplicationData.EnhanceSecurityFlag at 1");
    static_assert(offsetof(PyxApplicationData, MaxBitCount) == 2, "PyxApplicationData.MaxBitCount at 2");
    static_assert(sizeof(PyxExtendedConfiguration) == 2428, "PyxExtendedConfiguration is 2428 bytes");
    static_assert(offsetof(PyxExtendedConfiguration, FieldSeparatorDataHeader) == 0,
                  "PyxExtendedConfiguration.FieldSeparatorDataHeader at 0");
    static_assert(offsetof(PyxExtendedConfiguration, FieldEntries) == 7,
                  "PyxExtendedConfiguration.FieldEntries at 7");
    static_assert(offsetof(PyxExtendedConfiguration, SeparatorEntries) == 379,
                  "PyxExtendedConfiguration.SeparatorEntries at 379");
    static_assert(offsetof(PyxExtendedConfiguration, ApplicationData) == 2425,
                  "PyxExtendedConfiguration.ApplicationData at 2425");
    static_assert(sizeof(PyxHashData) == 33, "PyxHashData is 33 bytes");
    static_assert(offsetof(PyxHashData, HashValue1) == 0, "PyxHashData.HashValue1 at 0");
    static_assert(offsetof(PyxHashData, HashValue2) == 16, "PyxHashData.HashValue2 at 16");
    static_assert(offsetof(PyxHashData, EnhanceSecurityFirmwareState) == 32,
                  "PyxHashData.EnhanceSecurityFirmwareState at 32");
    static_assert(sizeof(PyxBlobHeader) == 5, "PyxBlobHeader is 5 bytes");
    static_assert(offsetof(PyxBlobHeader, BlobType) == 0, "PyxBlobHeader.BlobType at 0");
    static_assert(offsetof(PyxBlobHeader, SecondByte) == 1, "PyxBlobHeader.SecondByte at 1");
    static_assert(offsetof(PyxBlobHeader, DataLength) == 2, "PyxBlobHeader.DataLength at 2");
    static_assert(offsetof(PyxBlobHeader, FifthByte) == 4, "PyxBlobHeader.FifthByte at 4");
    static_assert(sizeof(PyxSmartCardConfiguration) == 1021, "PyxSmartCardConfiguration is 1021 bytes");
    static_assert(offsetof(PyxSmartCardConfiguration, Header) == 0, "PyxSmartCardConfiguration.Header at 0");
    static_assert(offsetof(PyxSmartCardConfiguration, Data) == 5, "PyxSmartCardConfiguration.Data at 5");
    static_assert(sizeof(PyxDeviceId) == 772, "PyxDeviceId is 772 bytes");
    static_assert(offsetof(PyxDeviceId, VendorId) == 0, "PyxDeviceId.VendorId at 0");
    static_assert(offsetof(PyxDeviceId, ProductId) == 2, "PyxDeviceId.ProductId at 2");
    static_assert(offsetof(PyxDeviceId, UsbPath) == 4, "PyxDeviceId.UsbPath at 4");
    static_assert(offsetof(PyxDeviceId, SerialNumber) == 516, "PyxDeviceId.SerialNumber at 516");
    static_assert(sizeof(PyxSerialPortSettings) == 268, "PyxSerialPortSettings is 268 bytes");
    static_assert(offsetof(PyxSerialPortSettings, BaudRate) == 0, "PyxSerialPortSettings.BaudRate at 0");
    static_assert(offsetof(PyxSerialPortSettings, Parity) == 4, "PyxSerialPortSettings.Parity at 4");
    static_assert(offsetof(PyxSerialPortSettings, FlowControl) == 5,
                  "PyxSerialPortSettings.FlowControl at 5");
    static_assert(offsetof(PyxSerialPortSettings, PortName) == 6, "PyxSerialPortSettings.PortName at 6");
    static_assert(offsetof(PyxSerialPortSettings, ByteSize) == 262, "PyxSerialPortSettings.ByteSize at 262");
    static_assert(offsetof(PyxSerialPortSettings, DataBits) == 266, "PyxSerialPortSettings.DataBits at 266");
    static_assert(offsetof(PyxSerialPortSettings, StopBits) == 267, "PyxSerialPortSettings.StopBits at 267");
    static_assert(sizeof(PyxReaderDefinition) == 1041, "PyxReaderDefinition is 1041 bytes");
    static_assert(offsetof(PyxReaderDefinition, DeviceId) == 0, "PyxReaderDefinition.DeviceId at 0");
    static_assert(offsetof(PyxReaderDefinition, ProtocolType) == 772,
                  "PyxReaderDefinition.ProtocolType at 772");
    static_assert(offsetof(PyxReaderDefinition, SerialPortSettings) == 773,
                  "PyxReaderDefinition.SerialPortSettings at 773");
    static_assert(sizeof(PyxFirmwareVersion) == 6, "PyxFirmwareVersion is 6 bytes");
    static_assert(offsetof(PyxFirmwareVersion, Version) == 0, "PyxFirmwareVersion.Version at 0");
    static_assert(offsetof(PyxFirmwareVersion, ModuleClass) == 4, "PyxFirmwareVersion.ModuleClass at 4");
    static_assert(offsetof(PyxFirmwareVersion, ModuleType) == 5, "PyxFirmwareVersion.ModuleType at 5");
    static_assert(sizeof(PyxBluetoothFirmwareVersion) == 14, "PyxBluetoothFirmwareVersion is 14 bytes");
    static_assert(offsetof(PyxBluetoothFirmwareVersion, Field32A) == 0,
                  "PyxBluetoothFirmwareVersion.Field32A at 0");
    static_assert(offsetof(PyxBluetoothFirmwareVersion, Field32B) == 4,
                  "PyxBluetoothFirmwareVersion.Field32B at 4");
    static_assert(offsetof(PyxBluetoothFirmwareVersion, Field32C) == 8,
                  "PyxBluetoothFirmwareVersion.Field32C at 8");
    static_assert(offsetof(PyxBluetoothFirmwareVersion, ModuleClass) == 12,
                  "PyxBluetoothFirmwareVersion.ModuleClass at 12");
    static_assert(offsetof(PyxBluetoothFirmwareVersion, ModuleType) == 13,
                  "PyxBluetoothFirmwareVersion.ModuleType at 13");
    static_assert(sizeof(PyxReaderMetadata) == 5751, "PyxReaderMetadata is 5751 bytes");
    static_assert(offsetof(PyxReaderMetadata, MicrocontrollerName) == 0,
                  "PyxReaderMetadata.MicrocontrollerName at 0");
    static_assert(offsetof(PyxReaderMetadata, MicrocontrollerNamePresent) == 512,
                  "PyxReaderMetadata.MicrocontrollerNamePresent at 512");
    static_assert(offsetof(PyxReaderMetadata, HardwarePlatformText) == 513,
                  "PyxReaderMetadata.HardwarePlatformText at 513");
    static_assert(offsetof(PyxReaderMetadata, HardwarePlatformTextPresent) == 1025,
                  "PyxReaderMetadata.HardwarePlatformTextPresent at 1025");
    static_assert(offsetof(PyxReaderMetadata, DeviceIdText) == 1026,
                  "PyxReaderMetadata.DeviceIdText at 1026");
    static_assert(offsetof(PyxReaderMetadata, DeviceIdTextPresent) == 1538,
                  "PyxReaderMetadata.DeviceIdTextPresent at 1538");
    static_assert(offsetof(PyxReaderMetadata, PartNumber) == 1539, "PyxReaderMetadata.PartNumber at 1539");
    static_assert(offsetof(PyxReaderMetadata, PartNumberPresent) == 2051,
                  "PyxReaderMetadata.PartNumberPresent at 2051");
    static_assert(offsetof(PyxReaderMetadata, ProductLineText) == 2052,
                  "PyxReaderMetadata.ProductLineText at 2052");
    static_assert(offsetof(PyxReaderMetadata, ProductLineTextPresent) == 2564,
                  "PyxReaderMetadata.ProductLineTextPresent at 2564");
    static_assert(offsetof(PyxReaderMetadata, ConfigurationCount) == 2565,
                  "PyxReaderMetadata.ConfigurationCount at 2565");
    static_assert(offsetof(PyxReaderMetadata, ConfigurationCountPresent) == 2569,
                  "PyxReaderMetadata.ConfigurationCountPresent at 2569");
    static_assert(offsetof(PyxReaderMetadata, ReaderString2) == 2570,
                  "PyxReaderMetadata.ReaderString2 at 2570");
    static_assert(offsetof(PyxReaderMetadata, ReaderString2Present) == 3082,
                  "PyxReaderMetadata.ReaderString2Present at 3082");
    static_assert(offsetof(PyxReaderMetadata, Esn) == 3083, "PyxReaderMetadata.Esn at 3083");
    static_assert(offsetof(PyxReaderMetadata, EsnPresent) == 3595, "PyxReaderMetadata.EsnPresent at 3595");
    static_assert(offsetof(PyxReaderMetadata, InstalledHardwareText) == 3596,
                  "PyxReaderMetadata.InstalledHardwareText at 3596");
    static_assert(offsetof(PyxReaderMetadata, InstalledHardwareTextPresent) == 4108,
                  "PyxReaderMetadata.InstalledHardwareTextPresent at 4108");
    static_assert(offsetof(PyxReaderMetadata, InstalledHardwareText2) == 4109,
                  "PyxReaderMetadata.InstalledHardwareText2 at 4109");
    static_assert(offsetof(PyxReaderMetadata, InstalledHardwareText2Present) == 4621,
                  "PyxReaderMetadata.InstalledHardwareText2Present at 4621");
    static_assert(offsetof(PyxReaderMetadata, InstalledHardware) == 4622,
                  "PyxReaderMetadata.InstalledHardware at 4622");
    static_assert(offsetof(PyxReaderMetadata, InstalledHardwarePresent) == 4640,
                  "PyxReaderMetadata.InstalledHardwarePresent at 4640");
    static_assert(offsetof(PyxReaderMetadata, ReaderString7) == 4641,
                  "PyxReaderMetadata.ReaderString7 at 4641");
    static_assert(offsetof(PyxReaderMetadata, ReaderString7Present) == 5153,
                  "PyxReaderMetadata.ReaderString7Present at 5153");
    static_assert(offsetof(PyxReaderMetadata, ReaderString4) == 5154,
                  "PyxReaderMetadata.ReaderString4 at 5154");
    static_assert(offsetof(PyxReaderMetadata, ReaderString4Present) == 5666,
                  "PyxReaderMetadata.ReaderString4Present at 5666");
    static_assert(offsetof(PyxReaderMetadata, ControlFirmwareVersion0) == 5667,
                  "PyxReaderMetadata.ControlFirmwareVersion0 at 5667");
    static_assert(offsetof(PyxReaderMetadata, ControlFirmwareVersion0Present) == 5673,
                  "PyxReaderMetadata.ControlFirmwareVersion0Present at 5673");
    static_assert(offsetof(PyxReaderMetadata, ControlFirmwareVersion1) == 5674,
                  "PyxReaderMetadata.ControlFirmwareVersion1 at 5674");
    static_assert(offsetof(PyxReaderMetadata, ControlFirmwareVersion1Present) == 5680,
                  "PyxReaderMetadata.ControlFirmwareVersion1Present at 5680");
    static_assert(offsetof(PyxReaderMetadata, ControlFirmwareVersion2) == 5681,
                  "PyxReaderMetadata.ControlFirmwareVersion2 at 5681");
    static_assert(offsetof(PyxReaderMetadata, ControlFirmwareVersion2Present) == 5687,
                  "PyxReaderMetadata.ControlFirmwareVersion2Present at 5687");
    static_assert(offsetof(PyxReaderMetadata, RadioFirmwareVersion0) == 5688,
                  "PyxReaderMetadata.RadioFirmwareVersion0 at 5688");
    static_assert(offsetof(PyxReaderMetadata, RadioFirmwareVersion0Present) == 5694,
                  "PyxReaderMetadata.RadioFirmwareVersion0Present at 5694");
    static_assert(offsetof(PyxReaderMetadata, RadioFirmwareVersion1) == 5695,
                  "PyxReaderMetadata.RadioFirmwareVersion1 at 5695");
    static_assert(offsetof(PyxReaderMetadata, RadioFirmwareVersion1Present) == 5701,
                  "PyxReaderMetadata.RadioFirmwareVersion1Present at 5701");
    static_assert(offsetof(PyxReaderMetadata, RadioFirmwareVersion2) == 5702,
                  "PyxReaderMetadata.RadioFirmwareVersion2 at 5702");
    static_assert(offsetof(PyxReaderMetadata, RadioFirmwareVersion2Present) == 5708,
                  "PyxReaderMetadata.RadioFirmwareVersion2Present at 5708");
    static_assert(offsetof(PyxReaderMetadata, BluetoothFirmwareVersion) == 5709,
                  "PyxReaderMetadata.BluetoothFirmwareVersion at 5709");
    static_assert(offsetof(PyxReaderMetadata, BluetoothFirmwareVersionPresent) == 5723,
                  "PyxReaderMetadata.BluetoothFirmwareVersionPresent at 5723");
    static_assert(offsetof(PyxReaderMetadata, HidSeSamFirmwareVersion) == 5724,
                  "PyxReaderMetadata.HidSeSamFirmwareVersion at 5724");
    static_assert(offsetof(PyxReaderMetadata, HidSeSamFirmwareVersionPresent) == 5730,
                  "PyxReaderMetadata.HidSeSamFirmwareVersionPresent at 5730");
    static_assert(offsetof(PyxReaderMetadata, NxpSamFirmwareVersion) == 5731,
                  "PyxReaderMetadata.NxpSamFirmwareVersion at 5731");
    static_assert(offsetof(PyxReaderMetadata, NxpSamFirmwareVersionPresent) == 5737,
                  "PyxReaderMetadata.NxpSamFirmwareVersionPresent at 5737");
    static_assert(offsetof(PyxReaderMetadata, FelicaSamFirmwareVersion) == 5738,
                  "PyxReaderMetadata.FelicaSamFirmwareVersion at 5738");
    static_assert(offsetof(PyxReaderMetadata, FelicaSamFirmwareVersionPresent) == 5744,
                  "PyxReaderMetadata.FelicaSamFirmwareVersionPresent at 5744");
    static_assert(offsetof(PyxReaderMetadata, ProtocolType) == 5745,
                  "PyxReaderMetadata.ProtocolType at 5745");
    static_assert(offsetof(PyxReaderMetadata, ExtendedOutputCapable) == 5746,
                  "PyxReaderMetadata.ExtendedOutputCapable at 5746");
    static_assert(offsetof(PyxReaderMetadata, TransparentModeReported) == 5747,
                  "PyxReaderMetadata.TransparentModeReported at 5747");
    static_assert(offsetof(PyxReaderMetadata, ReaderSupportsReverseAllBytes) == 5748,
                  "PyxReaderMetadata.ReaderSupportsReverseAllBytes at 5748");
    static_assert(offsetof(PyxReaderMetadata, ExtendedAscii) == 5749,
                  "PyxReaderMetadata.ExtendedAscii at 5749");
    static_assert(offsetof(PyxReaderMetadata, Dravik) == 5750, "PyxReaderMetadata.Dravik at 5750");
    static_assert(sizeof(PyxLedConfiguration) == 2, "PyxLedConfiguration is 2 bytes");
    static_assert(offsetof(PyxLedConfiguration, LedColor) == 0, "PyxLedConfiguration.LedColor at 0");
    static_assert(offsetof(PyxLedConfiguration, SoftwareControlled) == 1,
                  "PyxLedConfiguration.SoftwareControlled at 1");
    static_assert(sizeof(PyxLuidResponseInformation) == 8, "PyxLuidResponseInformation is 8 bytes");
    static_assert(offsetof(PyxLuidResponseInformation, Field16A) == 0,
                  "PyxLuidResponseInformation.Field16A at 0");
    static_assert(offsetof(PyxLuidResponseInformation, Field16B) == 2,
                  "PyxLuidResponseInformation.Field16B at 2");
    static_assert(offsetof(PyxLuidResponseInformation, Field32) == 4,
                  "PyxLuidResponseInformation.Field32 at 4");

#ifdef __cplusplus
    typedef Pyx::LibraryInfo PyxLibraryInfo;
#else
typedef LibraryInfo PyxLibraryInfo;
#endif

    /* Opening, discovery, life cycle and library information. */
    PYX_API Reader_Handle* PyxReader_Open(PyxResult* result, const PyxReaderDefinition* definition,
                                          int retryCount);
    PYX_API void Pyx_Init(PyxResult* result, Reader_Handle* handle);
    PYX_API void Pyx_Close(PyxResult* result, Reader_Handle* handle);
    /* Two calls: with readers null, *readerCount receives the number found; then with an array of that many.
     */
    PYX_API void Pyx_DiscoverUsbReaders(PyxResult* result, PyxReaderDefinition* readers, size_t* readerCount);
    PYX_API void Pyx_GetMetadataStruct(PyxResult* result, Reader_Handle* handle, PyxReaderMetadata* outStruct,
                                       bool refresh);
    PYX_API void Pyx_RefreshMetadata(PyxResult* result, Reader_Handle* handle);
    PYX_API PyxLibraryInfo Pyx_BuildLibraryInfo(void);

    /* Beeper. */
    PYX_API void PyxReader_Beep(PyxResult* result, Reader_Handle* handle, uint8_t count, uint8_t duration);
    PYX_API void PyxReader_GetBeeperVolume(PyxResult* result, Reader_Handle* handle, uint8_t* volume);
    PYX_API void PyxReader_SetBeeperVolume(PyxResult* result, Reader_Handle* handle, uint8_t volume);

    /* Cards. */
    PYX_API void PyxReader_GetCardData(PyxResult* result, Reader_Handle* handle, unsigned char* cardDataOut,
                                       size_t bufferSize, unsigned int* bitCount, uint8_t sizeParameters);
    /* Returns the subscription id, 0 on failure. */
    PYX_API uint32_t PyxReader_OnCredentialPresented(PyxResult* result, Reader_Handle* handle,
                                                     PyxCredentialCallback callback, uint8_t sizeParameters);
    PYX_API void PyxReader_UnsubscribeCredentialCallback(PyxResult* result, Reader_Handle* handle,
                                                         uint32_t subscriptionId);
    PYX_API void PyxReader_GetSupportedCardTypes(PyxResult* result, Reader_Handle* handle,
                                                 SupportedCardTypesResult* outResult);

    /* Identification, modules and transparent mode. */
    PYX_API void PyxReader_GetLuid(PyxResult* result, Reader_Handle* handle,
                                   PyxLuidResponseInformation* luid);
    PYX_API void PyxReader_SetLuid(PyxResult* result, Reader_Handle* handle, uint16_t luid);
    PYX_API void PyxReader_GetModuleState(PyxResult* result, Reader_Handle* handle, uint8_t moduleId,
                                          uint8_t* state);
    /* The low byte of state is the module state. */
    PYX_API void PyxReader_SetModuleState(PyxResult* result, Reader_Handle* handle, uint8_t moduleId,
                                          uint32_t state);
    PYX_API void PyxReader_EnableTransparentMode(PyxResult* result, Reader_Handle* handle, bool enable,
                                                 bool persist);
    PYX_API void PyxReader_GetTransparentModeStatus(PyxResult* result, Reader_Handle* handle, uint8_t* state,
                                                    uint8_t* status);

    /* Configuration. */
    PYX_API void PyxReader_EnableKeystroking(PyxResult* result, Reader_Handle* handle, bool enable);
    PYX_API void PyxReader_GetLedConfiguration(PyxResult* result, Reader_Handle* handle,
                                               uint8_t configuration, PyxLedConfiguration* ledConfiguration);
    PYX_API void PyxReader_SetLedConfiguration(PyxResult* result, Reader_Handle* handle,
                                               uint8_t configuration,
                                               const PyxLedConfiguration* ledConfiguration);
    PYX_API void PyxReader_GetReaderConfiguration(PyxResult* result, Reader_Handle* handle,
                                                  uint8_t configuration,
                                                  PyxReaderConfiguration* readerConfiguration,
                                                  PyxExtendedConfiguration* extendedConfiguration);
    PYX_API void PyxReader_SetReaderConfiguration(PyxResult* result, Reader_Handle* handle,
                                                  uint8_t configuration,
                                                  const PyxReaderConfiguration* readerConfiguration,
                                                  const PyxExtendedConfiguration* extendedConfiguration,
                                                  const PyxHashData* hashData);
    /* checkpoint: PYX_CHECKPOINT_FACTORY or PYX_CHECKPOINT_USER. */
    PYX_API void PyxReader_ResetReaderConfiguration(PyxResult* result, Reader_Handle* handle,
                                                    uint8_t checkpoint);
    PYX_API void PyxReader_WriteUserDefaultsToReader(PyxResult* result, Reader_Handle* handle);

    /* Configuration files and blobs. */
    PYX_API void PyxReader_ReadHwgFileFromReader(PyxResult* result, Reader_Handle* handle,
                                                 const char* fileName, bool withEndMarker);
    PYX_API void PyxReader_WriteHwgFileToReader(PyxResult* result, Reader_Handle* handle,
                                                const char* fileName);
    PYX_API void PyxReader_ReadSmartCardConfigurationFromReader(PyxResult* result, Reader_Handle* handle,
                                                                PyxSmartCardConfiguration* configuration);
    PYX_API void PyxReader_WriteSmartCardConfigurationToReader(PyxResult* result, Reader_Handle* handle,
                                                               const char* fileName);
    /* dataType: PYX_BLE_DATA or PYX_BLE_KEY. */
    PYX_API void PyxReader_ReadBleConfigurationFromReader(PyxResult* result, Reader_Handle* handle,
                                                          uint8_t dataType, const char* fileName);
    /* dataType: PYX_BLE_DATA, PYX_BLE_KEY or PYX_BLE_UNENCRYPTED_KEY. */
    PYX_API void PyxReader_WriteBleConfigurationToReader(PyxResult* result, Reader_Handle* handle,
                                                         uint8_t dataType, const char* fileName);

#ifdef __cplusplus
} /* extern "C" */
#endif
