#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "Operations/CardAnalyzer.h"
#include "PyxExport.h"
#include "Reader/ReaderCapability.h"
#include "Reader/ReaderMetadata.h"

namespace PyxProtocol
{
class ProtocolFacade;
}

namespace Pyx
{
// Decides one capability from the reader's metadata as it stands when asked. The base rule says yes.
class PYX_API CapabilityRule
{
public:
    // The rule keeps a reference to `metadata`, not a copy: the record must outlive the rule (and every copy
    // of it). A temporary record would be gone before the first Evaluate, so it is refused here and, through
    // the inherited constructors, by every rule class.
    explicit CapabilityRule(const ReaderMetadataStruct& metadata) : metadata_(metadata) {}
    explicit CapabilityRule(const ReaderMetadataStruct&& metadata) = delete;
    CapabilityRule(const CapabilityRule&) = default;
    virtual ~CapabilityRule();
    virtual bool Evaluate() const;

protected:
    const ReaderMetadataStruct& Metadata() const { return metadata_; }

private:
    const ReaderMetadataStruct& metadata_;
};

// Always supported; kept apart so that the rule can learn the reader's line later.
class PYX_API BaudRateCapabilityRule : public CapabilityRule
{
public:
    using CapabilityRule::CapabilityRule;
};

// Readers whose seventh string names a P35 model have no block 5.
class PYX_API ConfigurationBlock5CapabilityRule : public CapabilityRule
{
public:
    using CapabilityRule::CapabilityRule;
    bool Evaluate() const override;
};

// Readers that report extended output can take an extended configuration.
class PYX_API ExtendedConfigurationCapabilityRule : public CapabilityRule
{
public:
    using CapabilityRule::CapabilityRule;
    bool Evaluate() const override;
};

// Part numbers whose model prefix has a '2' fourth from its end cannot keystroke.
class PYX_API KeystrokingCapabilityRule : public CapabilityRule
{
public:
    using CapabilityRule::CapabilityRule;
    bool Evaluate() const override;
};

// Transparent mode needs the Legic radio installed and the reader reporting the mode.
class PYX_API TransparentModeCapabilityRule : public CapabilityRule
{
public:
    using CapabilityRule::CapabilityRule;
    bool Evaluate() const override;
};

class ReaderCapabilitySet;

// One rule per capability; a capability without a rule is unsupported. When given a metadata mutex, every
// rule is evaluated under it, so a rule never sees a record that is being replaced.
class PYX_API ReaderCapabilityProfile
{
public:
    // The profile and its rules keep a reference to `metadata` (and the pointer to `metadataMutex`), not a
    // copy: both must outlive the profile. A temporary record is refused.
    explicit ReaderCapabilityProfile(const ReaderMetadataStruct& metadata,
                                     std::mutex* metadataMutex = nullptr);
    explicit ReaderCapabilityProfile(const ReaderMetadataStruct&& metadata,
                                     std::mutex* metadataMutex = nullptr) = delete;
    ReaderCapabilityProfile(const ReaderCapabilityProfile&) = delete;
    ReaderCapabilityProfile& operator=(const ReaderCapabilityProfile&) = delete;
    virtual ~ReaderCapabilityProfile();

    virtual bool HasCapability(ReaderCapability capability) const;
    // Every capability of the set is supported (checked in order, stopping at the first that is not).
    virtual bool IsCapableOf(const ReaderCapabilitySet& required) const;
    // The capabilities of the set that are not supported, in the set's order.
    std::vector<ReaderCapability> GetUnsupportedCapabilities(const ReaderCapabilitySet& required) const;

protected:
    // Replaces any earlier rule for the capability.
    void RegisterRule(ReaderCapability capability, std::unique_ptr<CapabilityRule> rule);
    void ClearRules();
    const ReaderMetadataStruct& Metadata() const { return metadata_; }

private:
    const ReaderMetadataStruct& metadata_;
    std::mutex* metadataMutex_;
    std::unordered_map<ReaderCapability, std::unique_ptr<CapabilityRule>> rules_;
};

// Reads from the reader what the rules may need beyond the metadata.
class PYX_API DefaultCapabilityDataProvider
{
public:
    explicit DefaultCapabilityDataProvider(PyxProtocol::ProtocolFacade* facade) : facade_(facade) {}
    DefaultCapabilityDataProvider(const DefaultCapabilityDataProvider&) = default;
    DefaultCapabilityDataProvider& operator=(const DefaultCapabilityDataProvider&) = default;
    virtual ~DefaultCapabilityDataProvider();

    // Nothing without a facade or when the reader does not answer.
    virtual std::optional<PyxProtocol::CardAnalyzerStatus> GetCardAnalyzerStatus() const;

private:
    PyxProtocol::ProtocolFacade* facade_;
};

// The profile every reader gets at Init: one rule for each capability but UNKNOWN and CARD_ANALYZER.
class PYX_API DefaultReaderCapabilityProfile : public ReaderCapabilityProfile
{
public:
    // Keeps a reference to `metadata` and the pointers it is given, as ReaderCapabilityProfile does: the
    // record, the facade and the mutex must outlive the profile. A temporary record is refused.
    DefaultReaderCapabilityProfile(const ReaderMetadataStruct& metadata, PyxProtocol::ProtocolFacade* facade,
                                   std::mutex* metadataMutex = nullptr);
    DefaultReaderCapabilityProfile(const ReaderMetadataStruct&& metadata, PyxProtocol::ProtocolFacade* facade,
                                   std::mutex* metadataMutex = nullptr) = delete;
    ~DefaultReaderCapabilityProfile() override;

private:
    std::unique_ptr<DefaultCapabilityDataProvider> dataProvider_;
};
} // namespace Pyx
