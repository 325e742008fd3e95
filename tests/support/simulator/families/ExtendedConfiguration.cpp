#include <algorithm>

#include "../Families.h"

// The extended configuration: on FeatureReport readers in announced chunks of 8 bytes (85 chunk target...),
// read back when the host fetches the answer to the announcement and written when a data phrase follows it;
// on SerialBinary readers in one read (0A) or one write (8A) per piece.
namespace PyxTest::Sim
{
namespace
{
constexpr std::size_t kChunkSize = 8;

// What an 85 announcement names, from bytes 2-5 (a 32-bit number, low byte first).
enum class Target
{
    Block,
    FirstValue,
    SecondValue,
    Unknown,
};

Target TargetOf(ByteView phrase)
{
    const std::uint32_t value =
        static_cast<std::uint32_t>(phrase[2]) | (static_cast<std::uint32_t>(phrase[3]) << 8) |
        (static_cast<std::uint32_t>(phrase[4]) << 16) | (static_cast<std::uint32_t>(phrase[5]) << 24);
    switch (value)
    {
    case 0x1000:
        return Target::Block;
    case 0x1:
        return Target::FirstValue;
    case 0x11:
        return Target::SecondValue;
    default:
        return Target::Unknown;
    }
}

std::span<std::uint8_t> Area(ExtendedConfigurationSection& section, Target target)
{
    switch (target)
    {
    case Target::Block:
        return section.block;
    case Target::FirstValue:
        return section.hashValue1;
    case Target::SecondValue:
        return section.hashValue2;
    default:
        return {};
    }
}

void RegisterFeatureReport(HandlerTables& tables)
{
    tables.featureReport.On(
        0x85,
        [](ReaderModel& model, ByteView phrase)
        {
            const Target target = TargetOf(phrase);
            const std::size_t offset = phrase[1] * kChunkSize;
            const auto area = Area(model.extendedConfiguration, target);
            if (offset + kChunkSize > area.size())
            {
                return Reply(Bytes(8, 0x00));
            }
            // Hash values are never read back.
            Bytes chunk(kChunkSize, 0x00);
            if (target == Target::Block)
            {
                std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(offset), kChunkSize, chunk.begin());
            }
            return ReplyThenData(std::move(chunk), kChunkSize,
                                 [target, offset](ReaderModel& model, ByteView data)
                                 {
                                     auto& section = model.extendedConfiguration;
                                     std::copy_n(data.begin(), kChunkSize,
                                                 Area(section, target).begin() +
                                                     static_cast<std::ptrdiff_t>(offset));
                                     if (target != Target::Block)
                                     {
                                         ++section.hashWrites;
                                     }
                                     // Nobody reads it, but a reader always holds an answer.
                                     return Reply(Bytes(data.begin(), data.begin() + kChunkSize));
                                 });
        });
}

void RegisterSerialBinary(HandlerTables& tables)
{
    // FA 0A 00 00 n: the first n bytes of the block behind the echo.
    tables.serialBinary.On(0x0A, {HeaderOnly, [](ReaderModel& model, ByteView phrase)
                                  {
                                      const std::size_t count = phrase[4];
                                      const auto& block = model.extendedConfiguration.block;
                                      if (phrase[2] != 0x00 || phrase[3] != 0x00)
                                      {
                                          return Reply(P1OrP2Incorrect());
                                      }
                                      if (count == 0 || count > block.size())
                                      {
                                          return Reply(P3Incorrect());
                                      }
                                      Bytes reply{0x0A};
                                      reply.insert(reply.end(), block.begin(),
                                                   block.begin() + static_cast<std::ptrdiff_t>(count));
                                      reply.insert(reply.end(), {0x90, 0x00});
                                      return Reply(std::move(reply));
                                  }});
    // FA 8A 00 t n, then n bytes: t 00 the block (128 bytes), 01 and 11 the hash values (16 bytes).
    tables.serialBinary.On(0x8A, {HeaderAndP3, [](ReaderModel& model, ByteView phrase)
                                  {
                                      auto& section = model.extendedConfiguration;
                                      const Target target = phrase[3] == 0x00   ? Target::Block
                                                            : phrase[3] == 0x01 ? Target::FirstValue
                                                            : phrase[3] == 0x11 ? Target::SecondValue
                                                                                : Target::Unknown;
                                      const auto area = Area(section, target);
                                      if (phrase[2] != 0x00 || area.empty())
                                      {
                                          return Reply(P1OrP2Incorrect());
                                      }
                                      if (phrase[4] != area.size())
                                      {
                                          return Reply(P3Incorrect());
                                      }
                                      std::copy(phrase.begin() + 5, phrase.end(), area.begin());
                                      if (target != Target::Block)
                                      {
                                          ++section.hashWrites;
                                      }
                                      return Reply(Bytes{0x8A, 0x90, 0x00});
                                  }});
}
} // namespace

void RegisterExtendedConfigurationFamily(HandlerTables& tables)
{
    RegisterFeatureReport(tables);
    RegisterSerialBinary(tables);
}
} // namespace PyxTest::Sim
