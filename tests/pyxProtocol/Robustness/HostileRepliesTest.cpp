#include <gtest/gtest.h>

#include <cstdint>
#include <exception>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include <fmt/format.h>

#include "../Visitors/VisitorFactories.h"
#include "../Visitors/VisitorTestSupport.h"
#include "ReaderSimulator.h"

// A reader, or anything posing as one on a serial line, may answer with any number of any bytes. Every
// operation is run on every protocol against such answers, a few hundred times per cell from a fixed seed:
// each run must end in its result or in an error the library documents, within a bounded exchange and
// without a sanitizer report.
namespace PyxTest
{
namespace
{
constexpr int kRunsPerCell = 300;
// Paged reads end within 256 pages and a BLE key is written in at most 236 phrases.
constexpr std::size_t kPhraseBound = 300;
// The BLE data set is three blocks, each set up at most four times (three retries each) and polled up to 100
// times per setup, then read as 32 phrases with three retries each.
constexpr std::size_t kBleDataPhraseBound = 3 * (4 * (4 + 100) + 32 * 4);
constexpr const char* kRunaway = "more exchanges than any operation needs";

std::size_t PhraseBoundOf(const std::string& operation)
{
    return operation == "GetBleBlob" ? kBleDataPhraseBound : kPhraseBound;
}

// FNV-1a, so that a cell's seed is the same with every standard library.
std::uint32_t SeedOf(const std::string& cell)
{
    std::uint32_t hash = 2166136261u;
    for (const char c : cell)
    {
        hash = (hash ^ static_cast<std::uint8_t>(c)) * 16777619u;
    }
    return hash;
}

std::unique_ptr<PyxProtocol::Protocol> ProtocolFor(On on)
{
    switch (on)
    {
    case On::FeatureReport:
        return std::make_unique<PyxProtocol::FeatureReportProtocol>();
    case On::Mfp24:
        return std::make_unique<PyxProtocol::Mfp24Protocol>();
    case On::SerialBinary:
        break;
    }
    return std::make_unique<PyxProtocol::SerialBinaryProtocol>();
}

Sim::Protocol SimulatedAs(On on)
{
    switch (on)
    {
    case On::FeatureReport:
        return Sim::Protocol::FeatureReport;
    case On::Mfp24:
        return Sim::Protocol::Mfp24;
    case On::SerialBinary:
        break;
    }
    return Sim::Protocol::SerialBinary;
}

// The status words a SerialBinary reader ends its replies with, success first.
constexpr std::uint8_t kStatusWords[][2] = {{0x90, 0x00}, {0x6E, 0x00}, {0x6D, 0x00}, {0x67, 0x00},
                                            {0x6B, 0x00}, {0x6A, 0x82}, {0x62, 0x00}, {0x12, 0x34}};
constexpr char kLineCharacters[] = "0123456789ABCDEF0000";

// The answers of a simulated reader, mangled. A run is hostile (every answer made up), rough (half of them
// mangled), subtle (one in twenty mangled, so that long exchanges are spoiled deep inside), stuck (one
// made-up answer behind the echo of each request, over and over, as a reader caught in a loop would send;
// it finds exchanges that go on for as long as the reader keeps answering) or well framed (the simulated
// reader's own answers, of random contents every other run). A made-up answer is random bytes,
// often of the protocol's reply size and often behind a plausible start: the request's echo, an "R" line, a
// status word. Draws use the generator's raw output (the standard distributions differ between
// implementations), so a seed names the same answers everywhere.
class HostileReader
{
public:
    HostileReader(On on, std::uint32_t seed) : on_(on), random_(seed) {}

    void Begin(int run)
    {
        static constexpr std::uint32_t kManglePerMille[] = {1000, 500, 50, 0, 0};
        stuck_ = run % 5 == 3;
        manglePerMille_ = kManglePerMille[run % 5];
        stuckAnswer_ = stuck_ ? MadeUp({}) : Bytes{};
        stuckEcho_ = stuck_ ? Pick(5) : 0;
        simulator_.reset();
        fed_ = 0;
        request_.clear();
        pending_.clear();
        given_.clear();
    }

    Bytes Reply(const ScriptedTransport& transport, std::uint16_t length)
    {
        const auto& calls = transport.Calls();
        // Everything sent since the last answer reaches the simulated reader, in order.
        for (; fed_ < calls.size(); ++fed_)
        {
            if (calls[fed_].operation == ScriptedTransport::Operation::Transmit)
            {
                request_ = calls[fed_].data;
                Feed(request_);
            }
        }
        Bytes reply = Honest(length);
        if (stuck_)
        {
            reply = stuckAnswer_;
            Echo(request_, reply, stuckEcho_);
        }
        else if (Pick(1000) < manglePerMille_)
        {
            reply = Mangle(std::move(reply));
        }
        given_.push_back(reply);
        return reply;
    }

    const std::vector<Bytes>& Given() const { return given_; }

private:
    std::size_t Pick(std::size_t count) { return count == 0 ? 0 : random_() % count; }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(random_()); }

    // A fresh reader for each run, made when the run first reaches it; every other one holds random contents.
    Sim::ReaderSimulator& Simulator()
    {
        if (!simulator_)
        {
            simulator_ =
                std::make_unique<Sim::ReaderSimulator>(Pick(2) == 0 ? Sim::ReaderModel{} : RandomModel());
        }
        return *simulator_;
    }

    std::string Text(std::size_t length)
    {
        std::string text(length, '\0');
        for (auto& c : text)
        {
            c = static_cast<char>(Byte());
        }
        return text;
    }

    template <typename Container> void Fill(Container& bytes)
    {
        for (auto& byte : bytes)
        {
            byte = Byte();
        }
    }

    // Well-framed answers can still carry anything: any card, texts of any length and bytes, lists that run
    // past the last page, blocks and an extended configuration of any bytes, BLE polls that stay busy or
    // fail.
    Sim::ReaderModel RandomModel()
    {
        Sim::ReaderModel model;
        model.beeper.volume = Byte();
        if (Pick(2) == 0)
        {
            Sim::CardSection::Card card;
            card.bitCount = Byte();
            Fill(card.data);
            model.card.presented = card;
        }
        for (auto& blocks : model.configuration.configurations)
        {
            for (auto& block : blocks)
            {
                Fill(block);
            }
        }
        model.identity.esn = Text(Pick(41));
        model.identity.partNumber = Text(Pick(25));
        model.identity.strings[1] = Text(Pick(3) == 0 ? Pick(2100) : Pick(40));
        model.identity.supportMask = static_cast<std::uint16_t>(random_());
        model.identity.installedMask = Byte();
        for (auto& [module, version] : model.firmware.versions)
        {
            Fill(version);
        }
        model.firmware.bluetoothMfp24 = Text(8);
        model.supportedCards.codes.resize(Pick(3) == 0 ? Pick(1100) : Pick(12));
        for (auto& code : model.supportedCards.codes)
        {
            code = static_cast<std::uint16_t>(random_());
        }
        model.control.transparentModeSupported = Pick(4) != 0;
        model.control.transparentStatus = Byte();
        model.control.analyzerA = Byte();
        model.control.analyzerB = Byte();
        model.blob.blobs[0x21] = Bytes(Pick(16));
        Fill(model.blob.blobs[0x21]);
        Fill(model.blob.bleData);
        Fill(model.blob.bleKey);
        model.blob.bleModule = Pick(8) != 0;
        model.blob.busyPolls = Pick(4) == 0 ? Pick(120) : 0;
        // A run of busy codes, or of any codes, which may be a storm of failures.
        const bool anyCodes = Pick(2) == 0;
        for (std::size_t n = Pick(4) == 0 ? Pick(30) : 0; n > 0; --n)
        {
            model.blob.pollCodes.push_back(anyCodes ? Byte() : 11);
        }
        for (std::size_t n = Pick(4) == 0 ? Pick(5) : 0; n > 0; --n)
        {
            model.blob.phraseCodes.push_back(Byte());
        }
        if (Pick(2) == 0)
        {
            Fill(model.extendedConfiguration.block);
            model.extendedConfiguration.block[0] = 0x14;
            model.extendedConfiguration.block[3] = 0x10;
        }
        return model;
    }

    void Feed(const Bytes& phrase)
    {
        if (on_ == On::SerialBinary)
        {
            const Bytes answer = Simulator().SerialBinary().Receive(phrase);
            pending_.insert(pending_.end(), answer.begin(), answer.end());
            return;
        }
        Simulator().Hid(SimulatedAs(on_)).SetFeature(phrase);
    }

    Bytes Honest(std::uint16_t length)
    {
        if (on_ == On::SerialBinary)
        {
            return std::exchange(pending_, {});
        }
        return Simulator().Hid(SimulatedAs(on_)).GetFeature(length).value_or(Bytes{});
    }

    Bytes Mangle(Bytes honest)
    {
        switch (Pick(6))
        {
        case 0: // cut short
            honest.resize(Pick(honest.size() + 1));
            return honest;
        case 1: // trailing bytes
            for (std::size_t n = 1 + Pick(64 - std::min<std::size_t>(honest.size(), 63)); n > 0; --n)
            {
                honest.push_back(Byte());
            }
            return honest;
        case 2: // a few bytes changed
            for (std::size_t n = 1 + Pick(3); n > 0 && !honest.empty(); --n)
            {
                honest[Pick(honest.size())] = Byte();
            }
            return honest;
        default:
            return MadeUp(request_);
        }
    }

    Bytes MadeUp(const Bytes& request)
    {
        Bytes reply(Length(request));
        for (auto& byte : reply)
        {
            byte = Byte();
        }
        if (Pick(10) < 6)
        {
            LookValid(request, reply);
        }
        return reply;
    }

    std::size_t Length(const Bytes& request)
    {
        // A serial read may hand over up to 1024 bytes at once.
        if (on_ == On::SerialBinary && Pick(50) == 0)
        {
            return Pick(1025);
        }
        const std::size_t kind = Pick(10);
        if (kind < 4)
        {
            return Pick(13);
        }
        if (kind < 7)
        {
            switch (on_)
            {
            case On::FeatureReport:
                return 8;
            case On::Mfp24:
                return 24;
            case On::SerialBinary:
                // The echo, the P3 bytes asked for and the status word; or a short one.
                return request.size() >= 5 && Pick(2) == 0 ? request[4] + 3u : Pick(16);
            }
        }
        return Pick(65);
    }

    static void Put(Bytes& reply, std::size_t at, std::uint8_t byte)
    {
        if (at < reply.size())
        {
            reply[at] = byte;
        }
    }

    // The first `count` bytes a reader echoes: the request's own leading bytes on FeatureReport (three of a
    // BLE phrase make a ready result code), "R" and the command letters on Mfp24, the instruction and P1 on
    // SerialBinary.
    void Echo(const Bytes& request, Bytes& reply, std::size_t count, std::size_t at = 0) const
    {
        const std::size_t skip = on_ == On::SerialBinary ? 1 : 0;
        for (std::size_t i = 0; i < count && i + skip < request.size(); ++i)
        {
            Put(reply, at + i, request[i + skip]);
        }
        if (on_ == On::Mfp24 && count > 0)
        {
            Put(reply, at, 'R');
        }
    }

    void LookValid(const Bytes& request, Bytes& reply)
    {
        switch (on_)
        {
        case On::FeatureReport:
            Echo(request, reply, 1 + Pick(4));
            return;
        case On::Mfp24:
            // Hex digits and zero groups behind the echo, sometimes an error line, and mostly a closing CR.
            for (auto& byte : reply)
            {
                byte = static_cast<std::uint8_t>(kLineCharacters[Pick(sizeof kLineCharacters - 1)]);
            }
            Echo(request, reply, 1 + Pick(5));
            if (Pick(8) == 0)
            {
                Put(reply, 0, 'E');
            }
            if (!reply.empty() && Pick(5) != 0)
            {
                reply.back() = 0x0D;
            }
            return;
        case On::SerialBinary:
        {
            // Sometimes behind 0xFA, closed by a status word.
            const std::size_t framed = Pick(6) == 0 ? 1 : 0;
            if (framed == 1)
            {
                Put(reply, 0, 0xFA);
            }
            Echo(request, reply, 1 + Pick(2), framed);
            const auto& word = kStatusWords[Pick(4) == 0 ? Pick(std::size(kStatusWords)) : 0];
            if (reply.size() >= 2 && Pick(4) != 0)
            {
                reply[reply.size() - 2] = word[0];
                reply.back() = word[1];
            }
            return;
        }
        }
    }

    On on_;
    std::mt19937 random_;
    std::uint32_t manglePerMille_ = 1000;
    bool stuck_ = false;
    Bytes stuckAnswer_;
    std::size_t stuckEcho_ = 0;
    std::unique_ptr<Sim::ReaderSimulator> simulator_;
    std::size_t fed_ = 0;
    Bytes request_; // the last phrase sent
    Bytes pending_; // SerialBinary bytes not yet read
    std::vector<Bytes> given_;
};

struct Outcome
{
    bool succeeded = false;
    std::string fault; // empty unless the run broke the property
};

// A result, a library error (every one derives from TessmarException) or the std::invalid_argument a command
// documents; anything else is a fault, a std::out_of_range included: it means a reply byte was asked for
// without its length being checked.
Outcome RunAgainst(PyxProtocol::Protocol& protocol, PyxProtocol::CommandVisitor& visitor,
                   ScriptedTransport& transport)
{
    try
    {
        protocol.Accept(visitor, transport);
        return {true, ""};
    }
    catch (const TessmarException&)
    {
        return {};
    }
    catch (const std::invalid_argument&)
    {
        return {};
    }
    catch (const std::exception& e)
    {
        return {false, fmt::format("{}: {}", typeid(e).name(), e.what())};
    }
    catch (...)
    {
        return {false, "an exception of no standard type"};
    }
}

std::string Hex(const Bytes& bytes)
{
    std::string text;
    for (const auto byte : bytes)
    {
        text += fmt::format("{:02X} ", byte);
    }
    return text;
}

// The run as it went on the line: each phrase sent and each answer given, the middle of a long one left out.
std::string Exchange(const ScriptedTransport& transport, const std::vector<Bytes>& given)
{
    constexpr std::size_t kShown = 20;
    std::vector<std::string> lines;
    std::size_t answered = 0;
    for (const auto& call : transport.Calls())
    {
        if (call.operation == ScriptedTransport::Operation::Transmit)
        {
            lines.push_back("> " + Hex(call.data));
        }
        else if (call.operation == ScriptedTransport::Operation::Receive && answered < given.size())
        {
            lines.push_back("< " + Hex(given[answered++]));
        }
    }
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        if (i == kShown && lines.size() > 2 * kShown)
        {
            text += fmt::format("\n  ... {} lines ...", lines.size() - 2 * kShown);
            i = lines.size() - kShown;
        }
        text += "\n  " + lines[i];
    }
    return text;
}

class HostileReplies : public ::testing::TestWithParam<On>
{
};

TEST_P(HostileReplies, EveryOperationEndsInItsResultOrADocumentedErrorWithinABoundedExchange)
{
    const On on = GetParam();
    const auto protocol = ProtocolFor(on);
    for (const auto& [operation, make] : AllOperations())
    {
        const std::string cell = operation + " on " + Name(on);
        const std::uint32_t seed = SeedOf(cell);
        const std::size_t callBound = 2 * PhraseBoundOf(operation);
        HostileReader reader(on, seed);
        bool served = false;
        int successes = 0;
        for (int run = 0; run < kRunsPerCell; ++run)
        {
            ScriptedTransport transport;
            reader.Begin(run);
            transport.GenerateReplies([&](const PyxTransport::TransportPacket& packet)
                                      { return reader.Reply(transport, packet.Length); });
            transport.FailOnCall(callBound + 1, ScriptedTransport::Failure::RuntimeError, kRunaway);
            auto visitor = make();
            const Outcome outcome = RunAgainst(*protocol, *visitor, transport);
            served = served || !transport.Calls().empty();
            successes += outcome.succeeded ? 1 : 0;
            if (!outcome.fault.empty() || transport.Calls().size() > callBound)
            {
                ADD_FAILURE() << cell << " (seed " << seed << ", run " << run << "): " << outcome.fault
                              << " after " << transport.Calls().size()
                              << " calls:" << Exchange(transport, reader.Given());
                break;
            }
        }
        // An operation the protocol serves must get through now and then, or only its first check was tried.
        EXPECT_TRUE(!served || successes > 0) << cell << " never succeeded";
    }
}

INSTANTIATE_TEST_SUITE_P(Protocols, HostileReplies,
                         ::testing::Values(On::FeatureReport, On::Mfp24, On::SerialBinary),
                         [](const auto& info) { return std::string(Name(info.param)); });
} // namespace
} // namespace PyxTest
