#include <algorithm>

#include "../Families.h"

namespace PyxTest::Sim
{
namespace
{
using Block = ConfigurationSection::Block;
using Blocks = ConfigurationSection::Blocks;

constexpr std::uint8_t kBlockCount = 5;
constexpr std::uint8_t kBlockSize = 8;
constexpr std::uint8_t kRam = 0;
constexpr std::uint8_t kFactoryDefaults = 3;

Blocks& Active(ConfigurationSection& section)
{
    return section.configurations[section.active];
}

Blocks& AtLocation(ConfigurationSection& section, std::uint8_t location)
{
    return location == kRam ? Active(section) : section.locations[location - 1];
}

Bytes ToBytes(const Block& block)
{
    return Bytes(block.begin(), block.end());
}

void Store(Block& block, ByteView data)
{
    std::copy_n(data.begin(), kBlockSize, block.begin());
}

bool SelectConfiguration(ConfigurationSection& section, std::uint8_t number)
{
    if (number >= section.configurations.size())
    {
        return false;
    }
    section.active = number;
    return true;
}

// The reader refuses a copy onto itself, onto the factory defaults or from nowhere; whether the factory
// defaults may be copied to RAM is the protocol's call.
bool CopyConfiguration(ConfigurationSection& section, const ConfigurationSection::Copy& copy,
                       bool factoryDefaultsToRam)
{
    if (copy.source > kFactoryDefaults || copy.destination > kFactoryDefaults ||
        copy.source == copy.destination || copy.destination == kFactoryDefaults ||
        (!factoryDefaultsToRam && copy.source == kFactoryDefaults && copy.destination == kRam))
    {
        return false;
    }
    AtLocation(section, copy.destination) = AtLocation(section, copy.source);
    section.copies.push_back(copy);
    return true;
}

void LoadStoredDefaults(ConfigurationSection& section)
{
    Active(section) = section.storedDefaults;
    ++section.defaultLoads;
}

// A HID reader always holds a report; after a write that nobody reads back, it holds the phrase written.
Answer Echo(ByteView phrase)
{
    return Reply(Bytes(phrase.begin(), phrase.begin() + kBlockSize));
}

void RegisterFeatureReport(HandlerTables& tables)
{
    // 80 to 84 name blocks 1 to 5: read back, the header is a read; followed by a data phrase, a write.
    for (std::uint8_t index = 0; index < kBlockCount; ++index)
    {
        tables.featureReport.On(static_cast<std::uint8_t>(0x80 + index),
                                [index](ReaderModel& model, ByteView)
                                {
                                    return ReplyThenData(ToBytes(Active(model.configuration)[index]),
                                                         kBlockSize,
                                                         [index](ReaderModel& model, ByteView data)
                                                         {
                                                             Store(Active(model.configuration)[index], data);
                                                             return Echo(data);
                                                         });
                                });
    }
    tables.featureReport.On(0x89, 0x01,
                            [](ReaderModel& model, ByteView)
                            {
                                const auto& c = model.configuration;
                                return Reply({0x89, 0x01, c.active,
                                              static_cast<std::uint8_t>(c.configurations.size()), 0x00,
                                              static_cast<std::uint8_t>(c.field16 & 0xFF),
                                              static_cast<std::uint8_t>(c.field16 >> 8), c.field8});
                            });
    // Accepted requests are echoed; refused ones leave zeros.
    tables.featureReport.On(0x89, 0x81,
                            [](ReaderModel& model, ByteView phrase)
                            {
                                return SelectConfiguration(model.configuration, phrase[2])
                                           ? Reply(FeatureReportPhrase({0x89, 0x81, phrase[2]}))
                                           : Reply(Bytes(8, 0x00));
                            });
    tables.featureReport.On(
        0x89, 0x82,
        [](ReaderModel& model, ByteView phrase)
        {
            const ConfigurationSection::Copy copy{phrase[2], phrase[3], phrase[4], phrase[5]};
            return CopyConfiguration(model.configuration, copy, true)
                       ? Reply(FeatureReportPhrase({0x89, 0x82, phrase[2], phrase[3], phrase[4], phrase[5]}))
                       : Reply(Bytes(8, 0x00));
        });
    // The host reads nothing after storing and loading; the report the reader holds is the request.
    tables.featureReport.On(0x90,
                            [](ReaderModel& model, ByteView phrase)
                            {
                                model.configuration.writes.push_back(false);
                                return Echo(phrase);
                            });
    tables.featureReport.On(0xA0,
                            [](ReaderModel& model, ByteView phrase)
                            {
                                LoadStoredDefaults(model.configuration);
                                return Echo(phrase);
                            });
}

void RegisterMfp24(HandlerTables& tables)
{
    // "F" and a letter: R from location 1 to RAM, W from RAM to location 1, D from location 2 to RAM. The
    // answer is the request with "R" in place of the "F".
    struct Letter
    {
        const char* command;
        std::uint8_t source;
        std::uint8_t destination;
    };
    for (const Letter letter : {Letter{"FR", 1, 0}, Letter{"FW", 0, 1}, Letter{"FD", 2, 0}})
    {
        tables.mfp24.On(letter.command,
                        [letter](ReaderModel& model, ByteView line)
                        {
                            const bool copied = CopyConfiguration(model.configuration,
                                                                  {letter.source, letter.destination}, false);
                            Bytes reply(line.begin(), line.begin() + 24);
                            reply[0] = copied ? 'R' : 'E';
                            return Reply(std::move(reply));
                        });
    }
}

Bytes ActiveInformation(const ConfigurationSection& c, std::uint8_t p1)
{
    // Field16 travels high byte first on the serial line.
    return {0x09,
            p1,
            c.active,
            static_cast<std::uint8_t>(c.configurations.size()),
            0x00,
            static_cast<std::uint8_t>(c.field16 >> 8),
            static_cast<std::uint8_t>(c.field16 & 0xFF),
            c.field8,
            0x90,
            0x00};
}

void RegisterSerialBinary(HandlerTables& tables)
{
    // FA 01 b 00 08 reads block b + 1: 01, the block, 90 00.
    tables.serialBinary.On(0x01, {HeaderOnly, [](ReaderModel& model, ByteView phrase)
                                  {
                                      if (phrase[2] >= kBlockCount)
                                      {
                                          return Reply(P1OrP2Incorrect());
                                      }
                                      if (phrase[4] != kBlockSize)
                                      {
                                          return Reply(P3Incorrect());
                                      }
                                      Bytes reply{0x01};
                                      const Block& block = Active(model.configuration)[phrase[2]];
                                      reply.insert(reply.end(), block.begin(), block.end());
                                      reply.insert(reply.end(), {0x90, 0x00});
                                      return Reply(std::move(reply));
                                  }});
    // FA 81 b 00 08 and the block writes block b + 1: 81 90 00.
    tables.serialBinary.On(0x81, {HeaderAndP3, [](ReaderModel& model, ByteView phrase)
                                  {
                                      if (phrase[2] >= kBlockCount)
                                      {
                                          return Reply(P1OrP2Incorrect());
                                      }
                                      if (phrase[4] != kBlockSize || phrase.size() < 5u + kBlockSize)
                                      {
                                          return Reply(P3Incorrect());
                                      }
                                      Store(Active(model.configuration)[phrase[2]], phrase.subspan(5));
                                      return Reply({0x81, 0x90, 0x00});
                                  }});
    tables.serialBinary.On(0x09, 0x01, {HeaderOnly, [](ReaderModel& model, ByteView) {
                                            return Reply(ActiveInformation(model.configuration, 0x01));
                                        }});
    tables.serialBinary.On(0x09, 0x81,
                           {HeaderOnly, [](ReaderModel& model, ByteView phrase)
                            {
                                return SelectConfiguration(model.configuration, phrase[3])
                                           ? Reply(ActiveInformation(model.configuration, 0x81))
                                           : Reply(P1OrP2Incorrect());
                            }});
    // FA 09 82 s d x1 x2: seven bytes, answered 09 00 s d x1 x2 90 00.
    tables.serialBinary.On(
        0x09, 0x82,
        {FixedLength(7), [](ReaderModel& model, ByteView phrase)
         {
             const ConfigurationSection::Copy copy{phrase[3], phrase[4], phrase[5], phrase[6]};
             if (!CopyConfiguration(model.configuration, copy, false))
             {
                 return Reply(P1OrP2Incorrect());
             }
             return Reply({0x09, 0x00, copy.source, copy.destination, copy.extra1, copy.extra2, 0x90, 0x00});
         }});
    // FA 02 w 00 00 stores the working configuration, with the LUID when w is 80.
    tables.serialBinary.On(0x02, {HeaderOnly, [](ReaderModel& model, ByteView phrase)
                                  {
                                      if (phrase[2] != 0x00 && phrase[2] != 0x80)
                                      {
                                          return Reply(P1OrP2Incorrect());
                                      }
                                      model.configuration.writes.push_back(phrase[2] == 0x80);
                                      return Reply(Success());
                                  }});
    tables.serialBinary.On(0x03, {HeaderOnly, [](ReaderModel& model, ByteView)
                                  {
                                      LoadStoredDefaults(model.configuration);
                                      return Reply(Success());
                                  }});
}
} // namespace

void RegisterConfigurationFamily(HandlerTables& tables)
{
    RegisterFeatureReport(tables);
    RegisterMfp24(tables);
    RegisterSerialBinary(tables);
}
} // namespace PyxTest::Sim
