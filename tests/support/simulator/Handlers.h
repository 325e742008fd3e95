#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ReaderModel.h"

namespace PyxTest::Sim
{
using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

struct Answer;

// Takes the phrase that follows a request as that request's data (a block to write after its header).
using DataHandler = std::function<Answer(ReaderModel&, ByteView data)>;

// What the reader does with one request phrase.
struct Answer
{
    // The bytes the reader answers with; nothing: the reader stays silent.
    std::optional<Bytes> reply;
    // When set, the next phrase is data for this request instead of a request of its own. On feature
    // reports this is what makes one header phrase a read (the host fetches the reply) or a write (the
    // host sends the data phrase instead); on the serial line the reply goes out first and the next
    // `followUpLength` bytes are the data.
    DataHandler followUp;
    std::size_t followUpLength = 0;
};

inline Answer Reply(Bytes bytes)
{
    return Answer{std::move(bytes), {}, 0};
}
inline Answer Silence()
{
    return Answer{};
}
// Answers `bytes` at once (or as the reply to a read) and hands the next phrase of `length` bytes to
// `handler` (length matters on the serial line only).
inline Answer ReplyThenData(Bytes bytes, std::size_t length, DataHandler handler)
{
    return Answer{std::move(bytes), std::move(handler), length};
}

// An 8-byte feature-report phrase: the given bytes, zero-filled.
Bytes FeatureReportPhrase(std::initializer_list<std::uint8_t> bytes);
// A 24-character Mfp24 line: `text`, then '0' up to byte 22, then CR; a longer text is cut at 23.
Bytes Mfp24Line(const std::string& text);

// SerialBinary status words.
inline constexpr std::uint8_t kSw1Success = 0x90;
Bytes StatusWord(std::uint8_t sw1, std::uint8_t sw2);
inline Bytes Success()
{
    return StatusWord(0x90, 0x00);
}
inline Bytes InvalidClass()
{
    return StatusWord(0x6E, 0x00);
}
inline Bytes InvalidInstruction()
{
    return StatusWord(0x6D, 0x00);
}
inline Bytes P3Incorrect()
{
    return StatusWord(0x67, 0x00);
}
inline Bytes P1OrP2Incorrect()
{
    return StatusWord(0x6B, 0x00);
}
inline Bytes CardNotFound()
{
    return StatusWord(0x6A, 0x82);
}

// FeatureReport: phrase (always at least 8 bytes, zero-filled) to answer.
using FeatureReportHandler = std::function<Answer(ReaderModel&, ByteView phrase)>;
// Mfp24: the 24-character line (zero-filled to 24) to answer.
using Mfp24Handler = std::function<Answer(ReaderModel&, ByteView line)>;
// SerialBinary: the whole phrase (header and the data it carries) to answer.
using SerialBinaryHandler = std::function<Answer(ReaderModel&, ByteView phrase)>;
// SerialBinary: from the 5 header bytes, the length of the whole phrase, header included.
using SerialFrameLength = std::function<std::size_t(ByteView header)>;

// Frame lengths of the common shapes: the header alone, the header and P3 data bytes, a fixed size.
std::size_t HeaderOnly(ByteView header);
std::size_t HeaderAndP3(ByteView header);
SerialFrameLength FixedLength(std::size_t length);

// Handlers keyed by a command byte and, for the command families that have them, a sub-command byte
// (byte 1 on FeatureReport, P1 on SerialBinary). A handler registered for the sub-command wins over one
// registered for the whole command.
template <typename Handler> class ByteKeyedTable
{
public:
    void On(std::uint8_t command, Handler handler) { whole_[command] = std::move(handler); }
    void On(std::uint8_t command, std::uint8_t subCommand, Handler handler)
    {
        bySub_[Key(command, subCommand)] = std::move(handler);
    }
    const Handler* Find(std::uint8_t command, std::uint8_t subCommand) const
    {
        if (auto it = bySub_.find(Key(command, subCommand)); it != bySub_.end())
        {
            return &it->second;
        }
        if (auto it = whole_.find(command); it != whole_.end())
        {
            return &it->second;
        }
        return nullptr;
    }
    // Whether any handler is registered under `command`, for any sub-command.
    bool Knows(std::uint8_t command) const
    {
        if (whole_.contains(command))
        {
            return true;
        }
        auto it = bySub_.lower_bound(Key(command, 0x00));
        return it != bySub_.end() && (it->first >> 8) == command;
    }

private:
    static std::uint16_t Key(std::uint8_t command, std::uint8_t sub)
    {
        return static_cast<std::uint16_t>(command << 8 | sub);
    }
    std::map<std::uint8_t, Handler> whole_;
    std::map<std::uint16_t, Handler> bySub_;
};

struct SerialBinaryEntry
{
    SerialFrameLength length;
    SerialBinaryHandler handler;
};

// Mfp24 handlers keyed by the command letters that start the line; the longest registered prefix wins.
class Mfp24Table
{
public:
    void On(const std::string& letters, Mfp24Handler handler) { handlers_[letters] = std::move(handler); }
    const Mfp24Handler* Find(ByteView line) const;

private:
    std::map<std::string, Mfp24Handler> handlers_;
};

// Every front end's handlers. Each command family fills them from its own source file (see Families.h).
struct HandlerTables
{
    ByteKeyedTable<FeatureReportHandler> featureReport;
    Mfp24Table mfp24;
    ByteKeyedTable<SerialBinaryEntry> serialBinary;
};

// The tables of all families, built once.
const HandlerTables& AllHandlers();
} // namespace PyxTest::Sim
