#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "Faults.h"
#include "Handlers.h"
#include "ReaderModel.h"

// A simulated reader at the byte level: request bytes in, reply bytes out, no transport. One model of the
// reader (ReaderModel.h) sits behind three front ends, one per wire protocol, which parse requests and answer
// through the handler tables of Handlers.h.
//
// Growing it:
// - state: add a section struct and a member to ReaderModel (ReaderModel.h);
// - commands: write families/<Family>.cpp with a `Register<Family>Family(HandlerTables&)` that adds its
//   handlers to `tables.featureReport` (by command byte, and sub-command for 0x89/0x8C),
//   `tables.mfp24` (by command letters) and `tables.serialBinary` (by instruction, and P1 for 0x09/0x0C,
//   with the phrase length), then list it in Families.h and Families.cpp;
// - a request that may be followed by its data (a header that reads or writes depending on what comes
//   next) answers with ReplyThenData; the front ends keep the per-connection state.
// Tests arm misbehaviour with Arm(Fault...) and read the reader back with Snapshot().
namespace PyxTest::Sim
{
class ReaderSimulator;

enum class Protocol
{
    FeatureReport,
    Mfp24,
    SerialBinary,
};

// One phrase as it reached the reader: a request, or data taken by the request before it.
struct ReceivedPhrase
{
    Protocol protocol;
    Bytes bytes;
    bool operator==(const ReceivedPhrase&) const = default;
};

// FeatureReport and Mfp24 ride on USB HID feature reports: setting a report hands the reader a phrase,
// getting one fetches the answer to the last request. Report ids are the fixture's business, not these.
class HidFeatureFrontEnd
{
public:
    virtual ~HidFeatureFrontEnd() = default;
    HidFeatureFrontEnd(const HidFeatureFrontEnd&) = delete;
    HidFeatureFrontEnd& operator=(const HidFeatureFrontEnd&) = delete;

    // A phrase from the host: a request, or the data of the request before it. Shorter phrases are
    // zero-filled to the protocol's phrase size.
    void SetFeature(ByteView report);
    // The answer to the last request, cut to `length`; nothing when the reader stays silent; zeros before
    // any request. Fetching it makes the last request a read: a later phrase is a request again.
    std::optional<Bytes> GetFeature(std::size_t length);
    // Whether the reader stays silent on the last request (a fixture turns that into a failed read).
    bool IsSilent() const;
    // SetFeature, then GetFeature of one phrase.
    std::optional<Bytes> Exchange(ByteView request);

    std::size_t PhraseSize() const { return phraseSize_; }

protected:
    HidFeatureFrontEnd(ReaderSimulator& simulator, Protocol protocol, std::size_t phraseSize);
    virtual Answer Dispatch(ReaderModel& model, ByteView phrase) const = 0;
    const HandlerTables& Tables() const;

private:
    ReaderSimulator& simulator_;
    Protocol protocol_;
    std::size_t phraseSize_;
    std::optional<Bytes> pending_;
    bool answered_ = false;
    DataHandler followUp_;
};

class FeatureReportFrontEnd final : public HidFeatureFrontEnd
{
public:
    explicit FeatureReportFrontEnd(ReaderSimulator& simulator);

protected:
    Answer Dispatch(ReaderModel& model, ByteView phrase) const override;
};

class Mfp24FrontEnd final : public HidFeatureFrontEnd
{
public:
    explicit Mfp24FrontEnd(ReaderSimulator& simulator);

protected:
    Answer Dispatch(ReaderModel& model, ByteView phrase) const override;
};

// SerialBinary: a byte stream. Phrases are cut from it by their header (FA INS P1 P2 P3) and the length
// their handler gives, so pieces and merged writes are both fine.
class SerialBinaryFrontEnd
{
public:
    explicit SerialBinaryFrontEnd(ReaderSimulator& simulator);
    SerialBinaryFrontEnd(const SerialBinaryFrontEnd&) = delete;
    SerialBinaryFrontEnd& operator=(const SerialBinaryFrontEnd&) = delete;

    // Bytes from the host in any pieces; returns what the reader sends back for every phrase completed
    // (empty while a phrase is incomplete or the reader stays silent).
    Bytes Receive(ByteView bytes);
    // Forgets a partial phrase and a pending data phrase, as a reader does when its line is purged.
    void Reset();
    // Bytes held while a phrase is incomplete.
    std::size_t Buffered() const;

private:
    ReaderSimulator& simulator_;
    Bytes buffer_;
    DataHandler followUp_;
    std::size_t followUpLength_ = 0;
};

class ReaderSimulator
{
public:
    explicit ReaderSimulator(ReaderModel model = {});
    // A reader that answers through `tables` instead of the tables of all families.
    ReaderSimulator(ReaderModel model, HandlerTables tables);
    ReaderSimulator(const ReaderSimulator&) = delete;
    ReaderSimulator& operator=(const ReaderSimulator&) = delete;

    FeatureReportFrontEnd& FeatureReport() { return featureReport_; }
    Mfp24FrontEnd& Mfp24() { return mfp24_; }
    SerialBinaryFrontEnd& SerialBinary() { return serialBinary_; }
    HidFeatureFrontEnd& Hid(Protocol protocol);

    // The model, copied under the lock (front ends may answer on a fixture's thread).
    ReaderModel Snapshot() const;
    template <typename Change> void Update(Change&& change)
    {
        std::lock_guard lock(mutex_);
        change(model_);
    }

    void Arm(Fault fault);
    void ClearFaults();
    bool FaultsPending() const;

    // Every phrase received, in order.
    std::vector<ReceivedPhrase> Received() const;
    std::vector<Bytes> Received(Protocol protocol) const;
    void ClearReceived();

private:
    friend class HidFeatureFrontEnd;
    friend class FeatureReportFrontEnd;
    friend class Mfp24FrontEnd;
    friend class SerialBinaryFrontEnd;

    // With the lock held: records the phrase, runs the handler and passes its reply through the faults.
    Sim::Answer Respond(Protocol protocol, ByteView phrase,
                        const std::function<Sim::Answer(ReaderModel&)>& handler);

    // Guards the model, the faults, the record and the front ends' per-connection state.
    mutable std::mutex mutex_;
    const HandlerTables tables_;
    ReaderModel model_;
    FaultList faults_;
    std::vector<ReceivedPhrase> received_;
    FeatureReportFrontEnd featureReport_;
    Mfp24FrontEnd mfp24_;
    SerialBinaryFrontEnd serialBinary_;
};
} // namespace PyxTest::Sim
