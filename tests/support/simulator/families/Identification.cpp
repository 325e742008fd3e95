#include <algorithm>
#include <cstdio>

#include "../Families.h"

namespace PyxTest::Sim
{
namespace
{
constexpr std::size_t kEsnPieces = 4;       // FeatureReport: four 8-byte pieces
constexpr std::size_t kSerialEsnPieces = 5; // SerialBinary: five
constexpr std::size_t kPartNumberPieces = 3;
constexpr std::uint8_t kStringCount = 8;

// Piece `k` (8 bytes) of `text`, zero-filled past its end.
Bytes Piece(const std::string& text, std::size_t k)
{
    Bytes piece(8, 0x00);
    if (k * 8 < text.size())
    {
        const std::size_t count = std::min<std::size_t>(8, text.size() - k * 8);
        std::copy_n(text.begin() + static_cast<std::ptrdiff_t>(k * 8), count, piece.begin());
    }
    return piece;
}

Bytes WithEcho(std::uint8_t echo, Bytes bytes)
{
    bytes.insert(bytes.begin(), echo);
    return bytes;
}

// A string as the reader keeps it: its characters and the zero byte that ends it.
std::string Terminated(const IdentitySection& identity, std::uint8_t index)
{
    const auto it = identity.strings.find(index);
    std::string text = it == identity.strings.end() ? std::string() : it->second;
    text.push_back('\0');
    return text;
}

std::string Hex(unsigned value, int digits)
{
    char text[8];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

void RegisterFeatureReport(HandlerTables& tables)
{
    tables.featureReport.On(
        0x8C, 0x05,
        [](ReaderModel& model, ByteView phrase)
        { return Reply(phrase[2] < kEsnPieces ? Piece(model.identity.esn, phrase[2]) : Bytes(8, 0x00)); });
    tables.featureReport.On(0x8C, 0x01,
                            [](ReaderModel& model, ByteView phrase)
                            {
                                return Reply(phrase[2] < kPartNumberPieces
                                                 ? Piece(model.identity.partNumber, phrase[2])
                                                 : Bytes(8, 0x00));
                            });
    tables.featureReport.On(0x8C, 0x04,
                            [](ReaderModel& model, ByteView phrase)
                            { return Reply(Piece(Terminated(model.identity, phrase[2]), phrase[3])); });
    tables.featureReport.On(0x89, 0x05,
                            [](ReaderModel& model, ByteView)
                            {
                                const IdentitySection& id = model.identity;
                                return Reply(
                                    FeatureReportPhrase({id.installedMask, 0, 0, 0,
                                                         static_cast<std::uint8_t>(id.supportMask & 0xFF),
                                                         static_cast<std::uint8_t>(id.supportMask >> 8)}));
                            });
    // 8A alone reads the identifier; 8A followed by a data phrase 00 lo hi sets it.
    tables.featureReport.On(
        0x8A,
        [](ReaderModel& model, ByteView)
        {
            const IdentitySection& id = model.identity;
            Bytes luid{static_cast<std::uint8_t>(id.luidA & 0xFF), static_cast<std::uint8_t>(id.luidA >> 8),
                       static_cast<std::uint8_t>(id.luidB & 0xFF), static_cast<std::uint8_t>(id.luidB >> 8),
                       static_cast<std::uint8_t>(id.luid32 >> 24), static_cast<std::uint8_t>(id.luid32 >> 16),
                       static_cast<std::uint8_t>(id.luid32 >> 8),  static_cast<std::uint8_t>(id.luid32)};
            return ReplyThenData(std::move(luid), 8,
                                 [](ReaderModel& written, ByteView data)
                                 {
                                     written.identity.luidA =
                                         static_cast<std::uint16_t>(data[1] | data[2] << 8);
                                     // Never read back; an answer keeps the node from timing out
                                     // the host's next report.
                                     return Reply(Bytes(8, 0x00));
                                 });
        });
}

void RegisterMfp24(HandlerTables& tables)
{
    tables.mfp24.On("QRZ01",
                    [](ReaderModel& model, ByteView)
                    {
                        std::string text = "RRZ" + model.identity.partNumber.substr(0, 20);
                        text.resize(23, ' ');
                        return Reply(Mfp24Line(text));
                    });
    tables.mfp24.On("QSX07",
                    [](ReaderModel& model, ByteView)
                    {
                        const IdentitySection& id = model.identity;
                        return Reply(Mfp24Line("RSX07"
                                               "000000" +
                                               Hex(id.installedMask, 2) + "00000" +
                                               Hex(id.supportMask & 0xFFF, 3)));
                    });
}

void RegisterSerialBinary(HandlerTables& tables)
{
    tables.serialBinary.On(0x08, {HeaderOnly, [](ReaderModel& model, ByteView phrase)
                                  {
                                      if (phrase[2] >= kSerialEsnPieces)
                                      {
                                          return Reply(P1OrP2Incorrect());
                                      }
                                      return Reply(WithEcho(0x08, Piece(model.identity.esn, phrase[2])));
                                  }});
    tables.serialBinary.On(0x0C, 0x01,
                           {HeaderOnly, [](ReaderModel& model, ByteView phrase)
                            { return Reply(WithEcho(0x0C, Piece(model.identity.partNumber, phrase[3]))); }});
    // FA 0C 04 i k: piece k of string i; an index out of range and an absent string are refused.
    tables.serialBinary.On(0x0C, 0x04,
                           {HeaderOnly, [](ReaderModel& model, ByteView phrase)
                            {
                                const std::uint8_t index = phrase[3];
                                if (index == 0 || index > kStringCount)
                                {
                                    return Reply(P3Incorrect());
                                }
                                if (!model.identity.strings.contains(index))
                                {
                                    return Reply(P1OrP2Incorrect());
                                }
                                return Reply(
                                    WithEcho(0x0C, Piece(Terminated(model.identity, index), phrase[4])));
                            }});
    tables.serialBinary.On(0x09, 0x05,
                           {HeaderOnly, [](ReaderModel& model, ByteView)
                            {
                                const IdentitySection& id = model.identity;
                                return Reply(Bytes{0x09, 0x05, id.installedMask, 0, 0, 0,
                                                   static_cast<std::uint8_t>(id.supportMask & 0xFF),
                                                   static_cast<std::uint8_t>(id.supportMask >> 8), 0, 0, 0x90,
                                                   0x00});
                            }});
    tables.serialBinary.On(
        0x05, {HeaderOnly, [](ReaderModel& model, ByteView)
               {
                   const IdentitySection& id = model.identity;
                   return Reply(Bytes{
                       0x05, static_cast<std::uint8_t>(id.luidA & 0xFF),
                       static_cast<std::uint8_t>(id.luidA >> 8), static_cast<std::uint8_t>(id.luidB & 0xFF),
                       static_cast<std::uint8_t>(id.luidB >> 8), static_cast<std::uint8_t>(id.luid32 >> 24),
                       static_cast<std::uint8_t>(id.luid32 >> 16), static_cast<std::uint8_t>(id.luid32 >> 8),
                       static_cast<std::uint8_t>(id.luid32), 0x90, 0x00});
               }});
    // FA 06 00 00 02, acknowledged with 06; then the two identifier bytes, answered with the status word.
    tables.serialBinary.On(0x06, {HeaderOnly, [](ReaderModel&, ByteView)
                                  {
                                      return ReplyThenData(Bytes{0x06}, 2,
                                                           [](ReaderModel& model, ByteView data)
                                                           {
                                                               model.identity.luidA =
                                                                   static_cast<std::uint16_t>(data[0] |
                                                                                              data[1] << 8);
                                                               return Reply(Success());
                                                           });
                                  }});
}
} // namespace

void RegisterIdentificationFamily(HandlerTables& tables)
{
    RegisterFeatureReport(tables);
    RegisterMfp24(tables);
    RegisterSerialBinary(tables);
}
} // namespace PyxTest::Sim
