#pragma once

#include "Commands/Command.h"

namespace PyxProtocol
{
// Reloads the stored defaults into the working configuration; the reader answers with 90 00.
class LoadStoredDefaultsWithSerialBinaryProtocol : public SerialBinaryCommand
{
public:
    std::vector<std::uint8_t> NextCommandPhrase() override;
    void ValidateResponse() const;
};
} // namespace PyxProtocol
