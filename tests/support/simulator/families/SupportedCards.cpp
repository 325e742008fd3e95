#include <cstdio>

#include "../Families.h"

namespace PyxTest::Sim
{
namespace
{
// Code `i` of the list, 0 past its end (which is how a page shows the end).
std::uint16_t CodeAt(const SupportedCardsSection& cards, std::size_t i)
{
    return i < cards.codes.size() ? cards.codes[i] : 0;
}

// Four codes from `first` on, low byte first.
Bytes FourCodes(const SupportedCardsSection& cards, std::size_t first)
{
    Bytes bytes;
    for (std::size_t i = first; i < first + 4; ++i)
    {
        const std::uint16_t code = CodeAt(cards, i);
        bytes.push_back(static_cast<std::uint8_t>(code & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(code >> 8));
    }
    return bytes;
}

void RegisterFeatureReport(HandlerTables& tables)
{
    tables.featureReport.On(0x89, 0x04,
                            [](ReaderModel& model, ByteView phrase)
                            { return Reply(FourCodes(model.supportedCards, std::size_t{phrase[2]} * 4)); });
}

// QCT and the page number as two hex digits: RCT and five codes of four hex digits.
void RegisterMfp24(HandlerTables& tables)
{
    tables.mfp24.On("QCT",
                    [](ReaderModel& model, ByteView line)
                    {
                        const std::string digits(line.begin() + 3, line.begin() + 5);
                        const std::size_t page = std::stoul(digits, nullptr, 16);
                        std::string text = "RCT";
                        for (std::size_t i = page * 5; i < page * 5 + 5; ++i)
                        {
                            char group[8];
                            std::snprintf(group, sizeof group, "%04X",
                                          unsigned{CodeAt(model.supportedCards, i)});
                            text += group;
                        }
                        return Reply(Mfp24Line(text));
                    });
}

// FA 09 04 k 00: the echo 09 04, the page number, four codes and the status word.
void RegisterSerialBinary(HandlerTables& tables)
{
    tables.serialBinary.On(0x09, 0x04,
                           {HeaderOnly, [](ReaderModel& model, ByteView phrase)
                            {
                                Bytes page{0x09, 0x04, phrase[3]};
                                const Bytes codes =
                                    FourCodes(model.supportedCards, std::size_t{phrase[3]} * 4);
                                page.insert(page.end(), codes.begin(), codes.end());
                                page.insert(page.end(), {0x90, 0x00});
                                return Reply(page);
                            }});
}
} // namespace

void RegisterSupportedCardsFamily(HandlerTables& tables)
{
    RegisterFeatureReport(tables);
    RegisterMfp24(tables);
    RegisterSerialBinary(tables);
}
} // namespace PyxTest::Sim
