#include "Handlers.h"

#include <algorithm>

namespace PyxTest::Sim
{
Bytes FeatureReportPhrase(std::initializer_list<std::uint8_t> bytes)
{
    Bytes phrase(bytes);
    if (phrase.size() < 8)
    {
        phrase.resize(8, 0x00);
    }
    return phrase;
}

Bytes Mfp24Line(const std::string& text)
{
    Bytes line(24, '0');
    std::copy_n(text.begin(), std::min<std::size_t>(text.size(), 23), line.begin());
    line[23] = 0x0D;
    return line;
}

Bytes StatusWord(std::uint8_t sw1, std::uint8_t sw2)
{
    return Bytes{sw1, sw2};
}

std::size_t HeaderOnly(ByteView)
{
    return 5;
}

std::size_t HeaderAndP3(ByteView header)
{
    return header.size() >= 5 ? 5 + std::size_t{header[4]} : 5;
}

SerialFrameLength FixedLength(std::size_t length)
{
    return [length](ByteView) { return length; };
}

const Mfp24Handler* Mfp24Table::Find(ByteView line) const
{
    const Mfp24Handler* best = nullptr;
    std::size_t bestLength = 0;
    for (const auto& [letters, handler] : handlers_)
    {
        if (letters.size() > line.size() || letters.size() < bestLength)
        {
            continue;
        }
        if (std::equal(letters.begin(), letters.end(), line.begin()))
        {
            best = &handler;
            bestLength = letters.size();
        }
    }
    return best;
}
} // namespace PyxTest::Sim
