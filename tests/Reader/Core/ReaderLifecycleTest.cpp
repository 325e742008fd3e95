#include <cstdlib>
#include <stdexcept>
#include <string>

#include "Reader/ReaderCapabilityProfile.h"
#include "Reader/ReaderException.h"
#include "SerialReaderFixture.h"

namespace PyxReaderTest
{
namespace
{
template <typename Call> std::string RuntimeErrorOf(Call&& call)
{
    try
    {
        call();
    }
    catch (const Pyx::ReaderException& exception)
    {
        return "ReaderException: " + exception.GetMessage();
    }
    catch (const std::runtime_error& exception)
    {
        return exception.what();
    }
    return "no exception";
}

using ReaderLifecycleTest = SerialReaderTest;

TEST_F(ReaderLifecycleTest, ReaderIsUsableOnlyBetweenInitAndClose)
{
    void* handle = Open();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(Pyx::AbstractReader::GetInstance(handle), &Reader());

    try
    {
        Reader().GetReaderCapabilityProfile();
        FAIL() << "a reader that was not initialised has no profile";
    }
    catch (const Pyx::ReaderException& exception)
    {
        EXPECT_EQ(exception.GetMessage(), "Reader capability profile not initialized. Call Init() first.");
        EXPECT_EQ(exception.GetFileName(), "Reader/AbstractReader.h");
        EXPECT_EQ(exception.GetLineNumber(), 120);
        EXPECT_EQ(exception.GetFunctionName(), "GetCapabilityProfile");
        EXPECT_FALSE(exception.HasProtocolException());
    }

    Reader().Init();
    EXPECT_TRUE(
        Reader().GetReaderCapabilityProfile().HasCapability(Pyx::ReaderCapability::READER_CAPABILITY_BEEPER));
    // A second Init installs a fresh profile on the repopulated record.
    Reader().Init();
    EXPECT_EQ(std::uint32_t{Reader().GetMetadataStruct(false).ConfigurationCount}, 4u);

    Reader().Close();
    EXPECT_EQ(RuntimeErrorOf([&] { Reader().GetReaderCapabilityProfile(); }),
              "ReaderException: Reader capability profile not initialized. Call Init() first.");
    EXPECT_EQ(RuntimeErrorOf([&] { Reader().Init(); }),
              "AbstractReader instance has invalid protocol facade");
    EXPECT_EQ(RuntimeErrorOf([&] { Reader().GetMetadataStruct(false); }),
              "AbstractReader instance has invalid protocol facade");
    EXPECT_EQ(RuntimeErrorOf([&] { Reader().RefreshMetadata(); }),
              "AbstractReader instance has invalid protocol facade");
    // Closed but still registered; destroying it does not touch the facade again.
    EXPECT_EQ(Pyx::AbstractReader::GetInstance(handle), &Reader());
    Pyx::AbstractReader::DestroyInstance(handle);
    EXPECT_EQ(Pyx::AbstractReader::GetInstance(handle), nullptr);
    EXPECT_EQ(Pyx::AbstractReader::AcquireInstance(handle), nullptr);

    // Null, unknown and destroyed handles are ignored.
    int notAReader = 0;
    Pyx::AbstractReader::DestroyInstance(handle);
    Pyx::AbstractReader::DestroyInstance(nullptr);
    Pyx::AbstractReader::DestroyInstance(&notAReader);
    EXPECT_EQ(Pyx::AbstractReader::GetInstance(nullptr), nullptr);
    EXPECT_EQ(Pyx::AbstractReader::GetInstance(&notAReader), nullptr);
    handle_ = nullptr;

    // The port was released with the facade: the reader opens again.
    ASSERT_NE(Open(), nullptr);
    Reader().Init();
}

TEST_F(ReaderLifecycleTest, AFailedOpenLeavesNothingRegisteredOrOpen)
{
    PyxCommon::ReaderDefinition definition = serial_.Definition();
    definition.ProtocolType = ::ProtocolType::Dummy;
    try
    {
        Pyx::AbstractReader::CreateReaderInstance(definition, 1);
        FAIL() << "a reader of no protocol cannot be opened";
    }
    catch (const Pyx::ReaderException& exception)
    {
        EXPECT_NE(exception.GetMessage().find("Dummy"), std::string::npos) << exception.GetMessage();
        EXPECT_EQ(exception.GetLineNumber(), 82);
        EXPECT_EQ(exception.GetFunctionName(), "CreateReaderInstance");
    }
    // The port is free for the next open.
    ASSERT_NE(Open(), nullptr);
}

TEST_F(ReaderLifecycleTest, ReadersLeftOpenStopPollingWhenTheProcessEnds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Open();
            Reader().OnCredentialPresented([](Pyx::CardData&) {},
                                           PyxProtocol::GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES);
            Reader().Init();
            Present(26, 0x01);
            WaitUntil([&] { return CardReads() >= 2; });
            std::exit(3);
        },
        ::testing::ExitedWithCode(3), "");
}
} // namespace
} // namespace PyxReaderTest
