#pragma once

/* The flat form of one card type, as the C interface hands it out: byte-packed, 196 bytes, the code
 * little-endian. Plain C, so that the C interface's header can include it. */

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <assert.h>
#endif

#pragma pack(push, 1)
typedef struct CardTypeInfo
{
    uint16_t Code;
    /* Zero-terminated, at most 127 characters. */
    char Description[128];
    /* Zero-terminated, at most 63 characters. */
    char Name[64];
    uint8_t SecurityCode;
    uint8_t TechnologyCode;
} CardTypeInfo;
#pragma pack(pop)

static_assert(sizeof(CardTypeInfo) == 196, "CardTypeInfo is 196 bytes");
static_assert(offsetof(CardTypeInfo, Code) == 0, "CardTypeInfo.Code at 0");
static_assert(offsetof(CardTypeInfo, Description) == 2, "CardTypeInfo.Description at 2");
static_assert(offsetof(CardTypeInfo, Name) == 130, "CardTypeInfo.Name at 130");
static_assert(offsetof(CardTypeInfo, SecurityCode) == 194, "CardTypeInfo.SecurityCode at 194");
static_assert(offsetof(CardTypeInfo, TechnologyCode) == 195, "CardTypeInfo.TechnologyCode at 195");
