#include "Faults.h"

#include <algorithm>

namespace PyxTest::Sim
{
Fault Fault::WrongEcho(Bytes when)
{
    Fault fault;
    fault.kind = Kind::WrongEcho;
    fault.when = std::move(when);
    return fault;
}

Fault Fault::ShortReply(Bytes when, std::size_t keep)
{
    Fault fault;
    fault.kind = Kind::ShortReply;
    fault.when = std::move(when);
    fault.keep = keep;
    return fault;
}

Fault Fault::Status(Bytes when, std::uint8_t sw1, std::uint8_t sw2)
{
    Fault fault;
    fault.kind = Kind::StatusWord;
    fault.when = std::move(when);
    fault.sw1 = sw1;
    fault.sw2 = sw2;
    return fault;
}

Fault Fault::Silent(Bytes when)
{
    Fault fault;
    fault.kind = Kind::Silence;
    fault.when = std::move(when);
    return fault;
}

Fault Fault::ReplaceWith(Bytes when, Bytes reply)
{
    Fault fault;
    fault.kind = Kind::Replace;
    fault.when = std::move(when);
    fault.bytes = std::move(reply);
    return fault;
}

namespace
{
bool Matches(const Fault& fault, ByteView request)
{
    return fault.when.size() <= request.size() &&
           std::equal(fault.when.begin(), fault.when.end(), request.begin());
}

std::optional<Bytes> Alter(const Fault& fault, std::optional<Bytes> reply)
{
    switch (fault.kind)
    {
    case Fault::Kind::Silence:
        return std::nullopt;
    case Fault::Kind::Replace:
        return fault.bytes;
    default:
        break;
    }
    Bytes bytes = reply.value_or(Bytes{});
    switch (fault.kind)
    {
    case Fault::Kind::WrongEcho:
        if (!bytes.empty())
        {
            bytes[0] ^= 0x01;
        }
        break;
    case Fault::Kind::ShortReply:
        bytes.resize(std::min(bytes.size(), fault.keep));
        break;
    case Fault::Kind::StatusWord:
        if (bytes.size() < 2)
        {
            bytes.assign(2, 0x00);
        }
        bytes[bytes.size() - 2] = fault.sw1;
        bytes[bytes.size() - 1] = fault.sw2;
        break;
    default:
        break;
    }
    return bytes;
}
} // namespace

std::optional<Bytes> FaultList::Apply(ByteView request, std::optional<Bytes> reply)
{
    for (auto it = faults_.begin(); it != faults_.end(); ++it)
    {
        if (!Matches(*it, request))
        {
            continue;
        }
        if (it->skip > 0)
        {
            --it->skip;
            return reply;
        }
        auto altered = Alter(*it, std::move(reply));
        if (it->times != 0 && --it->times == 0)
        {
            faults_.erase(it);
        }
        return altered;
    }
    return reply;
}
} // namespace PyxTest::Sim
