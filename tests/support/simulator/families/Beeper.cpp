#include "../Families.h"

namespace PyxTest::Sim
{
namespace
{
constexpr std::uint8_t kMaxVolume = 3;
constexpr std::uint8_t kMaxBeeps = 5;
constexpr std::uint8_t kMaxLongBeeps = 2;

// Sounds the beeper when the request is one the reader accepts; answers whether it did.
bool SoundBeeper(BeeperSection& beeper, std::uint8_t count, bool longBeep)
{
    if (count == 0 || count > kMaxBeeps || (longBeep && count > kMaxLongBeeps))
    {
        return false;
    }
    beeper.beeps.push_back({count, longBeep});
    return true;
}

// The count byte of the binary protocols: the count, bit 7 set for long beeps.
bool SoundBeeper(BeeperSection& beeper, std::uint8_t countByte)
{
    return SoundBeeper(beeper, countByte & 0x7F, (countByte & 0x80) != 0);
}

bool SetVolume(BeeperSection& beeper, std::uint8_t volume)
{
    if (volume > kMaxVolume)
    {
        return false;
    }
    beeper.volume = volume;
    return true;
}

void RegisterFeatureReport(HandlerTables& tables)
{
    tables.featureReport.On(0x8C, 0x03,
                            [](ReaderModel& model, ByteView phrase)
                            {
                                // The reply is an echo of what was accepted, zeros for a refused request.
                                return SoundBeeper(model.beeper, phrase[2])
                                           ? Reply(Bytes(phrase.begin(), phrase.begin() + 8))
                                           : Reply(Bytes(8, 0x00));
                            });
    tables.featureReport.On(0x8C, 0x06,
                            [](ReaderModel& model, ByteView) {
                                return Reply(FeatureReportPhrase({0x8C, 0x06, model.beeper.volume}));
                            });
    tables.featureReport.On(0x8C, 0x86,
                            [](ReaderModel& model, ByteView phrase)
                            {
                                // Accepted: the read code with nothing behind it; refused: the request
                                // echoed.
                                return SetVolume(model.beeper, phrase[2])
                                           ? Reply(FeatureReportPhrase({0x8C, 0x06}))
                                           : Reply(Bytes(phrase.begin(), phrase.begin() + 8));
                            });
}

// Mfp24 replies echo the request with "R" in place of its first letter; refusals start with "E".
Bytes Mfp24Echo(ByteView line, char first)
{
    Bytes reply(line.begin(), line.begin() + 24);
    reply[0] = static_cast<std::uint8_t>(first);
    reply[23] = 0x0D;
    return reply;
}

std::optional<std::uint8_t> Digit(std::uint8_t character)
{
    if (character < '0' || character > '9')
    {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(character - '0');
}

void RegisterMfp24(HandlerTables& tables)
{
    auto beep = [](bool longBeep)
    {
        return [longBeep](ReaderModel& model, ByteView line)
        {
            const auto count = Digit(line[2]);
            const bool sounded = count && SoundBeeper(model.beeper, *count, longBeep);
            return Reply(Mfp24Echo(line, sounded ? 'R' : 'E'));
        };
    };
    tables.mfp24.On("BS", beep(false));
    tables.mfp24.On("BL", beep(true));
    tables.mfp24.On("BV",
                    [](ReaderModel& model, ByteView line)
                    {
                        const auto volume = Digit(line[2]);
                        const bool set = volume && SetVolume(model.beeper, *volume);
                        return Reply(Mfp24Echo(line, set ? 'R' : 'E'));
                    });
}

void RegisterSerialBinary(HandlerTables& tables)
{
    // Beep answers with the bare status word.
    tables.serialBinary.On(
        0x0C, 0x03, {HeaderOnly, [](ReaderModel& model, ByteView phrase) {
                         return Reply(SoundBeeper(model.beeper, phrase[3]) ? Success() : P1OrP2Incorrect());
                     }});
    tables.serialBinary.On(0x0C, 0x06, {HeaderOnly, [](ReaderModel& model, ByteView) {
                                            return Reply(Bytes{0x0C, model.beeper.volume, 0x90, 0x00});
                                        }});
    // FA 0C 86 v 00 and one more byte: six bytes in all.
    tables.serialBinary.On(
        0x0C, 0x86,
        {FixedLength(6), [](ReaderModel& model, ByteView phrase) {
             return Reply(SetVolume(model.beeper, phrase[3]) ? Bytes{0x0C, 0x90, 0x00} : P1OrP2Incorrect());
         }});
}
} // namespace

void RegisterBeeperFamily(HandlerTables& tables)
{
    RegisterFeatureReport(tables);
    RegisterMfp24(tables);
    RegisterSerialBinary(tables);
}
} // namespace PyxTest::Sim
