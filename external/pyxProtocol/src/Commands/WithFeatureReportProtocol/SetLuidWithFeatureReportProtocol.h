#pragma once

#include "Commands/Command.h"

namespace PyxProtocol
{
// A command phrase, then the identifier in a data phrase; the reader answers neither.
class SetLuidWithFeatureReportProtocol : public Command
{
public:
    explicit SetLuidWithFeatureReportProtocol(std::uint16_t luid) : _luid(luid) {}

    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    // Nothing to keep: the reader sends no reply worth reading.
    void AddResponsePhrase(std::vector<std::uint8_t> phrase) override;
    bool ExpectsResponsePhrase() override;

private:
    std::uint16_t _luid;
};
} // namespace PyxProtocol
