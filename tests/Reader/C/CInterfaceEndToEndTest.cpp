// Every C function through libVelmora.so against the simulated SerialBinary reader on a pseudo-terminal,
// driven partly from the C host (CHost.c).

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "CHost.h"
#include "ResultChecks.h"
#include "SimulatedReaders.h"

namespace
{
using PyxTest::ExpectNoProtocolPart;
using PyxTest::UsedRecord;
using PyxTest::Sim::Fault;
using PyxTest::Sim::ReaderModel;

using Call = std::function<void(PyxResult*, Reader_Handle*)>;

struct HandleCall
{
    const char* function;
    int nullHandleLine;
    Call call;
};

// Out-records the calls write into; every function gets valid pointers apart from the handle.
struct Records
{
    uint8_t byte = 0;
    unsigned int bits = 0;
    unsigned char card[64] = {};
    PyxReaderMetadata metadata{};
    PyxLedConfiguration led{};
    PyxLuidResponseInformation luid{};
    PyxReaderConfiguration configuration{};
    PyxExtendedConfiguration extended{};
    PyxHashData hash{};
    PyxSmartCardConfiguration smartCard{};
    SupportedCardTypesResult cardTypes{};

    Records() { smartCard.Header.BlobType = 1; } // a header the record accepts, so the handle is reached
};

void Ignore(const unsigned char*, unsigned int) {}

std::vector<HandleCall> EveryHandleCall(Records& r)
{
    return {
        {"Pyx_Close", 180, [](PyxResult* x, Reader_Handle* h) { Pyx_Close(x, h); }},
        {"Pyx_Init", 196, [](PyxResult* x, Reader_Handle* h) { Pyx_Init(x, h); }},
        {"Pyx_RefreshMetadata", 213, [](PyxResult* x, Reader_Handle* h) { Pyx_RefreshMetadata(x, h); }},
        {"Pyx_GetMetadataStruct", 237,
         [&r](PyxResult* x, Reader_Handle* h) { Pyx_GetMetadataStruct(x, h, &r.metadata, false); }},
        {"PyxReader_Beep", 271,
         [](PyxResult* x, Reader_Handle* h) { PyxReader_Beep(x, h, 1, PYX_BEEP_SHORT); }},
        {"PyxReader_GetCardData", 293,
         [&r](PyxResult* x, Reader_Handle* h)
         { PyxReader_GetCardData(x, h, r.card, sizeof r.card, &r.bits, 2); }},
        {"PyxReader_GetBeeperVolume", 338,
         [&r](PyxResult* x, Reader_Handle* h) { PyxReader_GetBeeperVolume(x, h, &r.byte); }},
        {"PyxReader_SetBeeperVolume", 358,
         [](PyxResult* x, Reader_Handle* h) { PyxReader_SetBeeperVolume(x, h, 1); }},
        {"PyxReader_WriteSmartCardConfigurationToReader", 377,
         [](PyxResult* x, Reader_Handle* h)
         { PyxReader_WriteSmartCardConfigurationToReader(x, h, "a.ini"); }},
        {"PyxReader_ReadSmartCardConfigurationFromReader", 401,
         [&r](PyxResult* x, Reader_Handle* h)
         { PyxReader_ReadSmartCardConfigurationFromReader(x, h, &r.smartCard); }},
        {"PyxReader_GetReaderConfiguration", 426,
         [&r](PyxResult* x, Reader_Handle* h)
         { PyxReader_GetReaderConfiguration(x, h, 0, &r.configuration, &r.extended); }},
        {"PyxReader_SetReaderConfiguration", 449,
         [&r](PyxResult* x, Reader_Handle* h)
         { PyxReader_SetReaderConfiguration(x, h, 0, &r.configuration, &r.extended, &r.hash); }},
        {"PyxReader_GetModuleState", 539,
         [&r](PyxResult* x, Reader_Handle* h) { PyxReader_GetModuleState(x, h, 1, &r.byte); }},
        {"PyxReader_SetModuleState", 561,
         [](PyxResult* x, Reader_Handle* h) { PyxReader_SetModuleState(x, h, 1, 1); }},
        {"PyxReader_GetLedConfiguration", 582,
         [&r](PyxResult* x, Reader_Handle* h) { PyxReader_GetLedConfiguration(x, h, 0, &r.led); }},
        {"PyxReader_SetLedConfiguration", 601,
         [&r](PyxResult* x, Reader_Handle* h) { PyxReader_SetLedConfiguration(x, h, 0, &r.led); }},
        {"PyxReader_EnableKeystroking", 619,
         [](PyxResult* x, Reader_Handle* h) { PyxReader_EnableKeystroking(x, h, true); }},
        {"PyxReader_GetLuid", 637,
         [&r](PyxResult* x, Reader_Handle* h) { PyxReader_GetLuid(x, h, &r.luid); }},
        {"PyxReader_SetLuid", 655, [](PyxResult* x, Reader_Handle* h) { PyxReader_SetLuid(x, h, 7); }},
        {"PyxReader_WriteUserDefaultsToReader", 672,
         [](PyxResult* x, Reader_Handle* h) { PyxReader_WriteUserDefaultsToReader(x, h); }},
        {"PyxReader_ResetReaderConfiguration", 690,
         [](PyxResult* x, Reader_Handle* h)
         { PyxReader_ResetReaderConfiguration(x, h, PYX_CHECKPOINT_USER); }},
        {"PyxReader_GetSupportedCardTypes", 709,
         [&r](PyxResult* x, Reader_Handle* h) { PyxReader_GetSupportedCardTypes(x, h, &r.cardTypes); }},
        {"PyxReader_ReadBleConfigurationFromReader", 751,
         [](PyxResult* x, Reader_Handle* h)
         { PyxReader_ReadBleConfigurationFromReader(x, h, PYX_BLE_DATA, "a.hwg"); }},
        {"PyxReader_WriteBleConfigurationToReader", 784,
         [](PyxResult* x, Reader_Handle* h)
         { PyxReader_WriteBleConfigurationToReader(x, h, PYX_BLE_KEY, "a.hwg"); }},
        {"PyxReader_WriteHwgFileToReader", 816,
         [](PyxResult* x, Reader_Handle* h) { PyxReader_WriteHwgFileToReader(x, h, "a.hwg"); }},
        {"PyxReader_ReadHwgFileFromReader", 840,
         [](PyxResult* x, Reader_Handle* h) { PyxReader_ReadHwgFileFromReader(x, h, "a.hwg", true); }},
        {"PyxReader_OnCredentialPresented", 864,
         [](PyxResult* x, Reader_Handle* h)
         { EXPECT_EQ(PyxReader_OnCredentialPresented(x, h, Ignore, 2), 0u); }},
        {"PyxReader_UnsubscribeCredentialCallback", 901,
         [](PyxResult* x, Reader_Handle* h) { PyxReader_UnsubscribeCredentialCallback(x, h, 1); }},
        {"PyxReader_EnableTransparentMode", 920,
         [](PyxResult* x, Reader_Handle* h) { PyxReader_EnableTransparentMode(x, h, true, false); }},
        {"PyxReader_GetTransparentModeStatus", 939,
         [&r](PyxResult* x, Reader_Handle* h)
         { PyxReader_GetTransparentModeStatus(x, h, &r.byte, &r.byte); }},
    };
}

void ExpectOutcome(const PyxResult& result, int code, const char* message, int line, const char* function)
{
    EXPECT_EQ(result.ResultCode, code) << result.Message;
    EXPECT_STREQ(result.Message, message);
    EXPECT_STREQ(result.FileName, "Reader_C.cpp");
    EXPECT_EQ(+result.LineNumber, line);
    EXPECT_STREQ(result.FunctionName, function);
}

// Cards handed to the C callback, on the reader's dispatch thread.
struct Presented
{
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<std::pair<std::vector<unsigned char>, unsigned int>> cards;
};
Presented presented;

void OnCard(const unsigned char* bytes, unsigned int bitCount)
{
    std::lock_guard lock(presented.mutex);
    presented.cards.emplace_back(std::vector<unsigned char>(bytes, bytes + 4), bitCount);
    presented.arrived.notify_all();
}

class CInterfaceEndToEnd : public ::testing::Test
{
protected:
    void TearDown() override
    {
        PyxResult result;
        Pyx_Close(&result, handle_);
    }

    Reader_Handle* OpenThroughCHost()
    {
        PyxResult result;
        handle_ = CHost_OpenSerialReader(&result, serial_.Definition().SerialPortSettings.PortName);
        EXPECT_NE(handle_, nullptr) << result.Message;
        return handle_;
    }

    void Present(std::uint8_t bitCount, std::uint8_t first)
    {
        simulator_.Update(
            [&](ReaderModel& model)
            {
                model.card.presented = PyxTest::Sim::CardSection::Card{};
                model.card.presented->bitCount = bitCount;
                model.card.presented->data.fill(0);
                model.card.presented->data[0] = first;
            });
    }

    PyxTest::Sim::ReaderSimulator simulator_;
    PyxTest::Sim::SimulatedSerialReader serial_{simulator_};
    Reader_Handle* handle_ = nullptr;
};

TEST(CInterfaceArguments, NullPointersAreRefusedBeforeAnyWork)
{
    Records records;
    for (const HandleCall& c : EveryHandleCall(records))
    {
        SCOPED_TRACE(c.function);
        c.call(nullptr, nullptr); // nothing to report into: nothing happens
        PyxResult result = UsedRecord();
        c.call(&result, nullptr);
        ExpectOutcome(result, 1, "Called with null handle", c.nullHandleLine, c.function);
        EXPECT_STREQ(result.ExceptionType, "");
        ExpectNoProtocolPart(result);
    }

    PyxResult result;
    EXPECT_EQ(PyxReader_Open(&result, nullptr, 1), nullptr);
    EXPECT_STREQ(result.Message, "Called with null definition");
    Pyx_DiscoverUsbReaders(&result, nullptr, nullptr);
    ExpectOutcome(result, 1, "Called with null readerCount pointer", 970, "Pyx_DiscoverUsbReaders");
    Pyx_DiscoverUsbReaders(nullptr, nullptr, nullptr);

    // The handle is checked first, then the arguments in order, then values.
    int handle = 0;
    auto* fake = reinterpret_cast<Reader_Handle*>(&handle);
    EXPECT_EQ(PyxReader_OnCredentialPresented(&result, fake, nullptr, 2), 0u);
    ExpectOutcome(result, 1, "Called with null callback", 870, "PyxReader_OnCredentialPresented");
    PyxReader_GetCardData(&result, fake, nullptr, 0, nullptr, 2);
    ExpectOutcome(result, 1, "Called with null cardDataOut", 299, "PyxReader_GetCardData");
    unsigned char buffer[32];
    PyxReader_GetCardData(&result, fake, buffer, sizeof buffer, nullptr, 2);
    EXPECT_STREQ(result.Message, "Called with null bitCount");
    PyxReader_WriteBleConfigurationToReader(&result, nullptr, 0, "a.hwg");
    EXPECT_STREQ(result.Message, "Called with null handle");
    for (uint8_t type : {0, 4})
    {
        PyxReader_WriteBleConfigurationToReader(&result, fake, type, "a.hwg");
        ExpectOutcome(result, 1, "Invalid dataType. Must be 1 (Data), 2 (Key), or 3 (UnencryptedKey)", 796,
                      "PyxReader_WriteBleConfigurationToReader");
    }
    PyxReader_ReadBleConfigurationFromReader(&result, fake, 3, "a.hwg");
    ExpectOutcome(result, 1, "Invalid dataType. Must be 1 (Data) or 2 (Key)", 763,
                  "PyxReader_ReadBleConfigurationFromReader");
}

TEST_F(CInterfaceEndToEnd, ClosedAndUnknownHandlesAreReportedNeverFollowed)
{
    Reader_Handle* closed = OpenThroughCHost();
    PyxResult result;
    Pyx_Close(&result, closed);
    ASSERT_EQ(result.ResultCode, 0);
    handle_ = nullptr;

    int unknown = 0;
    Records records;
    for (Reader_Handle* handle : {closed, reinterpret_cast<Reader_Handle*>(&unknown)})
    {
        for (const HandleCall& c : EveryHandleCall(records))
        {
            SCOPED_TRACE(c.function);
            c.call(&result, handle);
            if (std::string(c.function) == "Pyx_Close")
            {
                continue; // closing twice is nothing to do
            }
            EXPECT_EQ(result.ResultCode, 1);
            EXPECT_STREQ(result.Message, "Reader handle is not open (never opened, or already closed)");
            EXPECT_STREQ(result.FunctionName, c.function);
        }
    }
    Pyx_Close(&result, closed);
    EXPECT_EQ(result.ResultCode, 0);
}

TEST_F(CInterfaceEndToEnd, ReaderLifeFromTheCHost)
{
    Reader_Handle* handle = OpenThroughCHost();
    ASSERT_NE(handle, nullptr);
    PyxResult result = UsedRecord();

    EXPECT_EQ(CHost_SetAndReadVolume(&result, handle, 3), 3) << result.Message;
    EXPECT_EQ(simulator_.Snapshot().beeper.volume, 3);
    PyxReader_Beep(&result, handle, 2, PYX_BEEP_LONG);
    ExpectOutcome(result, 0, "", 75, "ExecuteCppMethod");
    EXPECT_EQ(simulator_.Snapshot().beeper.beeps.size(), 1u);

    PyxReaderMetadata metadata{};
    Pyx_GetMetadataStruct(&result, handle, &metadata, false);
    EXPECT_STREQ(metadata.PartNumber, "PN-4711");
    EXPECT_STREQ(metadata.Esn, "ESN-0123456789");

    // The simulated reader's own codes are all in the catalogue, as a program trying it expects.
    SupportedCardTypesResult types;
    PyxReader_GetSupportedCardTypes(&result, handle, &types);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;
    EXPECT_GE(types.Count, simulator_.Snapshot().supportedCards.codes.size());

    simulator_.Update([](ReaderModel& model) { model.supportedCards.codes = {0xFA02, 0xF602}; });
    std::memset(&types, 0xAB, sizeof types);
    PyxReader_GetSupportedCardTypes(&result, handle, &types);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;
    ASSERT_GE(types.Count, 2u); // a code may resolve to more than one card type
    EXPECT_STRNE(types.CardTypes[types.Count - 1].Name, "");
    EXPECT_EQ(+types.CardTypes[types.Count].Code, 0); // the rest of the record is cleared

    // More types than the record holds keep the first 256; none leaves an all-zero record.
    simulator_.Update([](ReaderModel& model) { model.supportedCards.codes.assign(300, 0xF602); });
    PyxReader_GetSupportedCardTypes(&result, handle, &types);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;
    EXPECT_EQ(types.Count, 256u);
    EXPECT_STRNE(types.CardTypes[255].Name, "");
    simulator_.Update([](ReaderModel& model) { model.supportedCards.codes.clear(); });
    PyxReader_GetSupportedCardTypes(&result, handle, &types);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;
    const SupportedCardTypesResult none{};
    EXPECT_EQ(std::memcmp(&types, &none, sizeof types), 0);

    // A card of 26 bits: copied to a larger buffer, which is zeroed behind it; refused by a smaller one.
    Present(26, 0x5A);
    std::array<unsigned char, 64> buffer;
    buffer.fill(0xEE);
    unsigned int bits = 0;
    PyxReader_GetCardData(&result, handle, buffer.data(), buffer.size(), &bits, PYX_CARD_DATA_SIZE_32_BYTES);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;
    EXPECT_EQ(bits, 26u);
    EXPECT_EQ(buffer[0], 0x5A);
    EXPECT_EQ(buffer[63], 0);
    buffer.fill(0xEE);
    PyxReader_GetCardData(&result, handle, buffer.data(), 16, &bits, PYX_CARD_DATA_SIZE_32_BYTES);
    ExpectOutcome(result, 1, "cardDataOut buffer too small. Required size: 32, provided size: 16.", 315,
                  "PyxReader_GetCardData");
    EXPECT_EQ(buffer[0], 0xEE);

    // Credentials reach the C callback on the reader's own thread.
    const uint32_t id = PyxReader_OnCredentialPresented(&result, handle, OnCard, PYX_CARD_DATA_SIZE_32_BYTES);
    ExpectOutcome(result, 0, "", 113, "ExecuteCppMethodWithReturn");
    EXPECT_NE(id, 0u);
    Present(34, 0x77);
    {
        std::unique_lock lock(presented.mutex);
        ASSERT_TRUE(presented.arrived.wait_for(lock, std::chrono::seconds(10),
                                               []
                                               {
                                                   for (const auto& card : presented.cards)
                                                   {
                                                       if (card.second == 34 && card.first[0] == 0x77)
                                                       {
                                                           return true;
                                                       }
                                                   }
                                                   return false;
                                               }));
    }
    PyxReader_UnsubscribeCredentialCallback(&result, handle, id);
    EXPECT_EQ(result.ResultCode, 0);
}

TEST_F(CInterfaceEndToEnd, ConfigurationRoundTripsThroughTheCRecord)
{
    Reader_Handle* handle = OpenThroughCHost();
    ASSERT_NE(handle, nullptr);
    PyxResult result;
    PyxReaderConfiguration configuration{};
    PyxExtendedConfiguration extended{};
    PyxReader_GetReaderConfiguration(&result, handle, 0, &configuration, &extended);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;

    configuration.TotalStripLeadingParityCount = 20;
    configuration.DataHoldTimeMs = 150;
    configuration.KeyPressTimeMs = 1020;
    configuration.LegacyBitStreamTimeOutMs = 8; // no block holds these two: they come back as 0
    configuration.NotBootDevice = 1;
    configuration.LeadingCharacterCount = 1;
    configuration.TrailingCharacterCount = 1;
    configuration.LeadingTrailingCharacters[0] = 'A';
    configuration.LeadingTrailingCharacters[1] = 'B';
    configuration.LeadingTrailingCharacters[2] = 0;
    configuration.CardType = 0x0102;
    PyxHashData hash{};
    PyxReader_SetReaderConfiguration(&result, handle, 0, &configuration, &extended, &hash);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;

    // Unlike the class interface's record, the C record is read whole, even where no block reaches.
    PyxReaderConfiguration read = configuration;
    PyxReader_GetReaderConfiguration(&result, handle, 0, &read, &extended);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;
    configuration.LegacyBitStreamTimeOutMs = 0;
    configuration.NotBootDevice = 0;
    EXPECT_EQ(std::memcmp(&read, &configuration, sizeof read), 0);

    // Values a setter refuses, and counts past the three slots, never reach the reader.
    simulator_.ClearReceived();
    PyxReaderConfiguration refused = read;
    refused.DataHoldTimeMs = 60;
    PyxReader_SetReaderConfiguration(&result, handle, 0, &refused, &extended, &hash);
    EXPECT_EQ(result.ResultCode, 1);
    EXPECT_STREQ(result.ExceptionType, "TessmarException");
    EXPECT_STREQ(result.Message, "DataHoldTimeMs must be a multiple of 50 milliseconds");
    refused = read;
    refused.LeadingCharacterCount = 2;
    refused.TrailingCharacterCount = 2;
    PyxReader_SetReaderConfiguration(&result, handle, 0, &refused, &extended, &hash);
    EXPECT_STREQ(result.Message, "Leading/Trailing Character counts 2 and 2 exceed the 3 character slots");
    EXPECT_TRUE(simulator_.Received().empty());
}

TEST_F(CInterfaceEndToEnd, FailuresFillTheRecordAndAReusedRecordForgetsThem)
{
    PyxResult result;
    PyxReaderDefinition definition{};
    const auto port = serial_.Definition();
    std::memcpy(&definition, &port, sizeof definition);
    PyxReaderDefinition missing = definition;
    std::strcpy(missing.SerialPortSettings.PortName, "/dev/pyx-no-such-port");
    EXPECT_EQ(PyxReader_Open(&result, &missing, 1), nullptr);
    EXPECT_EQ(result.ResultCode, 1);
    handle_ = PyxReader_Open(&result, &definition, 1);
    ASSERT_NE(handle_, nullptr) << result.Message;
    ExpectOutcome(result, 0, "", 113, "ExecuteCppMethodWithReturn");

    PyxReader_Beep(&result, handle_, 1, PYX_BEEP_SHORT);
    EXPECT_EQ(result.ResultCode, 1);
    EXPECT_STREQ(result.Message, "Reader capability profile not initialized. Call Init() first.");
    EXPECT_EQ(result.HasProtocolException, 0);

    Pyx_Init(&result, handle_);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;
    simulator_.Arm(Fault::Silent({}));
    PyxReader_Beep(&result, handle_, 1, PYX_BEEP_SHORT);
    EXPECT_EQ(result.ResultCode, 1);
    EXPECT_EQ(result.HasProtocolException, 1);
    EXPECT_NE(std::string(result.Message).find("Operation 'Pyx::Reader::Beep' failed"), std::string::npos);
    EXPECT_STRNE(result.ProtocolMessage, "");

    uint8_t volume = 0xFF;
    PyxReader_GetBeeperVolume(&result, handle_, &volume);
    ASSERT_EQ(result.ResultCode, 0) << result.Message;
    EXPECT_EQ(volume, 2);
    ExpectNoProtocolPart(result);
}

TEST(CInterfaceLibraryInfo, EveryTextIsZeroPaddedWhenBuiltFromC)
{
    EXPECT_EQ(CHost_LibraryInfoIsZeroPadded(), 1);
}
} // namespace
