#pragma once

#include <cstddef>
#include <cstdint>

#include "PyxExport.h"

namespace PyxProtocol
{
// Size of a card read: 1 the short form (8 data bytes), 2 the long form (32 data bytes).
enum class GetCardDataSizeParameters : std::uint8_t
{
    CARD_DATA_SIZE_8_BYTES = 1,
    CARD_DATA_SIZE_32_BYTES = 2,
};

// The flag byte sent with GetQueuedId; passed to the reader unchanged.
enum class QueuedIdFlagParameters : std::uint8_t
{
    QUEUED_ID_FLAGS_NONE = 0,
};

#pragma pack(push, 1)
// The credential the reader read last.
struct PYX_API CardReadPayload
{
    std::uint8_t BitCount; // number of valid bits
    std::uint8_t Data[32]; // data bytes, zero behind what the reader sent
};

// The reader's queued identifier. The fields behind Data are the reader's own and passed through unchanged.
struct PYX_API QueuedIdInformation
{
    std::uint8_t Data[32];
    std::uint16_t Field16;
    std::uint8_t FieldA;
    std::uint8_t FieldB;
    std::uint8_t FieldC;
};
#pragma pack(pop)

static_assert(sizeof(GetCardDataSizeParameters) == 1);
static_assert(sizeof(QueuedIdFlagParameters) == 1);

static_assert(sizeof(CardReadPayload) == 33);
static_assert(offsetof(CardReadPayload, BitCount) == 0);
static_assert(offsetof(CardReadPayload, Data) == 1);

static_assert(sizeof(QueuedIdInformation) == 37);
static_assert(offsetof(QueuedIdInformation, Data) == 0);
static_assert(offsetof(QueuedIdInformation, Field16) == 32);
static_assert(offsetof(QueuedIdInformation, FieldA) == 34);
static_assert(offsetof(QueuedIdInformation, FieldB) == 35);
static_assert(offsetof(QueuedIdInformation, FieldC) == 36);
} // namespace PyxProtocol
