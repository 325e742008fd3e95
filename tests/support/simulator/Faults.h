#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "Handlers.h"

namespace PyxTest::Sim
{
// A misbehaviour armed on the simulated reader: it alters the reply to the next request that starts with
// `when` (any request when empty), after letting `skip` such requests pass, for `times` requests (0: for
// every one from then on).
struct Fault
{
    enum class Kind
    {
        WrongEcho,  // byte 0 of the reply changed (its lowest bit flipped)
        ShortReply, // the reply cut to `keep` bytes
        StatusWord, // the reply's last two bytes replaced by `sw1` `sw2` (a whole reply of two bytes when
                    // shorter)
        Silence,    // no reply at all
        Replace,    // the reply replaced by `bytes`
    };

    Kind kind = Kind::Silence;
    Bytes when;
    std::size_t skip = 0;
    std::size_t times = 1;
    std::size_t keep = 0;
    std::uint8_t sw1 = 0;
    std::uint8_t sw2 = 0;
    Bytes bytes;

    static Fault WrongEcho(Bytes when);
    static Fault ShortReply(Bytes when, std::size_t keep);
    static Fault Status(Bytes when, std::uint8_t sw1, std::uint8_t sw2);
    static Fault Silent(Bytes when);
    static Fault ReplaceWith(Bytes when, Bytes reply);

    Fault& After(std::size_t matchingRequests)
    {
        skip = matchingRequests;
        return *this;
    }
    Fault& Times(std::size_t count)
    {
        times = count;
        return *this;
    }
};

// The armed faults of one reader, first armed first tried.
class FaultList
{
public:
    void Arm(Fault fault) { faults_.push_back(std::move(fault)); }
    void Clear() { faults_.clear(); }
    bool Empty() const { return faults_.empty(); }
    // The reply to `request` after the first fault that matches it; a spent fault is dropped.
    std::optional<Bytes> Apply(ByteView request, std::optional<Bytes> reply);

private:
    std::vector<Fault> faults_;
};
} // namespace PyxTest::Sim
