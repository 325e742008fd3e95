#pragma once

#include "Structures/ExtendedConfiguration.h"
#include "Visitors/CommandVisitor.h"

namespace PyxProtocol
{
// Writes the extended configuration with its hash data, once every record is valid, every field lies within
// the bit count, the separators' characters follow one another and the whole fits the announced storage.
class SetExtendedConfigurationVisitor final : public CommandVisitor
{
public:
    SetExtendedConfigurationVisitor(const PyxCommon::ExtendedConfiguration& configuration,
                                    const PyxCommon::HashData& hash)
        : _configuration(configuration), _hash(hash)
    {
    }

    void ValidateArguments() override;
    void Visit(SerialBinaryProtocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(Mfp24Protocol& protocol, PyxTransport::Transport& transport) override;
    void Visit(FeatureReportProtocol& protocol, PyxTransport::Transport& transport) override;

private:
    PyxCommon::ExtendedConfiguration _configuration;
    PyxCommon::HashData _hash;
};
} // namespace PyxProtocol
