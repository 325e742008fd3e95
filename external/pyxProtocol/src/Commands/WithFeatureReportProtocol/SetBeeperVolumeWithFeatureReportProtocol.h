#pragma once

#include "Commands/Command.h"
#include "Operations/Beeper.h"

namespace PyxProtocol
{
class SetBeeperVolumeWithFeatureReportProtocol : public Command
{
public:
    explicit SetBeeperVolumeWithFeatureReportProtocol(BeepVolume volume);
    bool HasCommandPhrase() override;
    std::vector<std::uint8_t> NextCommandPhrase() override;
    bool ExpectsResponsePhrase() override;
    // The reader answers with the get code: 8C 06 and six zero bytes.
    void ValidateResponse() const;

private:
    std::uint8_t _volume;
};
} // namespace PyxProtocol
