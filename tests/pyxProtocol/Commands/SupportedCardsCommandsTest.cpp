#include <string>

#include <gtest/gtest.h>

#include "Commands/WithFeatureReportProtocol/GetSupportedCardsWithFeatureReportProtocol.h"
#include "Commands/WithMfp24Protocol/GetSupportedCardsWithMfp24Protocol.h"
#include "Commands/WithSerialBinaryProtocol/GetSupportedCardsWithSerialBinaryProtocol.h"
#include "ReaderQueryTestSupport.h"

namespace
{
using namespace PyxProtocol;
using PyxTest::Bytes;
using PyxTest::Mfp24Line;
using PyxTest::ProtocolFailure;
using PyxTest::Report;
using PyxTest::RunScripted;
using PyxTest::ScriptedTransport;
using Codes = std::vector<std::uint16_t>;

// A 13-byte serial page: echo 09 04, the page number, four codes low byte first, status 90 00.
Bytes SerialPage(std::uint8_t page, std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d)
{
    Bytes bytes{0x09, 0x04, page};
    for (const std::uint16_t code : {a, b, c, d})
    {
        bytes.push_back(static_cast<std::uint8_t>(code & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(code >> 8));
    }
    bytes.insert(bytes.end(), {0x90, 0x00});
    return bytes;
}

TEST(SupportedCardsCommands, FeatureReportPagesEndAtTwoZeroBytesInARow)
{
    {
        GetSupportedCardsWithFeatureReportProtocol c;
        EXPECT_EQ(RunScripted(c, {{0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00}, Report({0x05})}),
                  (std::vector<Bytes>{Report({0x89, 0x04, 0}), Report({0x89, 0x04, 1})}));
        EXPECT_EQ(c.GetResult(), (Codes{1, 2, 3, 4, 5}));
    }
    {
        // The zero pair need not be a code: both codes on the page are kept, and no page follows.
        GetSupportedCardsWithFeatureReportProtocol c;
        EXPECT_EQ(RunScripted(c, {{0x12, 0x00, 0x00, 0x34, 0x01, 0x01, 0x02, 0x02}}).size(), 1U);
        EXPECT_EQ(c.GetResult(), (Codes{0x0012, 0x3400, 0x0101, 0x0202}));
    }
}

TEST(SupportedCardsCommands, SerialPagesEndAtTwoZeroBytesBeforeTheStatus)
{
    {
        GetSupportedCardsWithSerialBinaryProtocol c;
        EXPECT_EQ(
            RunScripted(c, {SerialPage(0, 0x0101, 0x0202, 0x0303, 0x0404), SerialPage(1, 0x0505, 0, 0, 0)}),
            (std::vector<Bytes>{{0xFA, 0x09, 0x04, 0, 0}, {0xFA, 0x09, 0x04, 1, 0}}));
        c.ValidateResponse();
        EXPECT_EQ(c.GetResult(), (Codes{0x0101, 0x0202, 0x0303, 0x0404, 0x0505}));
    }
    {
        // Single zero bytes, in codes or beside the status, are no end of the list.
        GetSupportedCardsWithSerialBinaryProtocol c;
        RunScripted(c, {SerialPage(0, 0x0101, 0x0202, 0x0303, 0x0004), SerialPage(1, 0x0100, 0, 0x0102, 0)});
        EXPECT_EQ(c.GetResult(), (Codes{0x0101, 0x0202, 0x0303, 0x0004, 0x0100, 0x0102}));
    }
}

TEST(SupportedCardsCommands, Mfp24PagesEndAtTheGroup0000)
{
    {
        GetSupportedCardsWithMfp24Protocol c;
        EXPECT_EQ(RunScripted(c, {Mfp24Line("RCT"
                                            "0001"
                                            "0002"
                                            "0000")}),
                  std::vector<Bytes>{Mfp24Line("QCT00")});
        c.ValidateResponse();
        EXPECT_EQ(c.GetResult(), (Codes{1, 2}));
    }
    {
        GetSupportedCardsWithMfp24Protocol c;
        std::vector<Bytes> pages(26, Mfp24Line("RCT"
                                               "00aF"
                                               "0002"
                                               "0003"
                                               "0004"
                                               "FFFF"));
        pages.push_back(Mfp24Line("RCT"
                                  "0000"));
        const auto sent = RunScripted(c, pages);
        ASSERT_EQ(sent.size(), 27U);
        // Page numbers go out as two upper-case hex digits.
        EXPECT_EQ(sent[26], Mfp24Line("QCT1A"));
        c.ValidateResponse();
        EXPECT_EQ(c.GetResult().size(), 26U * 5U);
        EXPECT_EQ(c.GetResult().front(), 0x00AF);
    }
}

TEST(SupportedCardsCommands, AListThatNeverEndsStopsAfter256Pages)
{
    const std::string expected =
        "HasCommandPhrase: The reader did not end the list of supported cards within 256 pages.";
    const auto endless = [&](auto command, const Bytes& page, const Bytes& lastRequest)
    {
        ScriptedTransport transport;
        transport.QueueReplies(std::vector<Bytes>(300, page));
        EXPECT_EQ(ProtocolFailure([&] { command.Execute(transport); }), expected);
        ASSERT_EQ(transport.Transmitted().size(), 256U);
        EXPECT_EQ(transport.Transmitted().back(), lastRequest);
    };
    endless(GetSupportedCardsWithFeatureReportProtocol{}, Report({1, 2, 3, 4, 5, 6, 7, 8}),
            Report({0x89, 0x04, 0xFF}));
    endless(GetSupportedCardsWithSerialBinaryProtocol{}, SerialPage(0, 1, 2, 3, 4),
            Bytes{0xFA, 0x09, 0x04, 0xFF, 0});
    endless(GetSupportedCardsWithMfp24Protocol{},
            Mfp24Line("RCT"
                      "0001"
                      "0002"
                      "0003"
                      "0004"
                      "0005"),
            Mfp24Line("QCTFF"));
    {
        // A silent reader: every empty page asks for another, up to the bound.
        ScriptedTransport transport;
        transport.QueueReplies(std::vector<Bytes>(300, Bytes{}));
        GetSupportedCardsWithFeatureReportProtocol c;
        EXPECT_EQ(ProtocolFailure([&] { c.Execute(transport); }), expected);
    }
}

TEST(SupportedCardsCommands, AReplyThatIsNoPageEndsTheExchangeWithAnError)
{
    {
        GetSupportedCardsWithSerialBinaryProtocol c;
        EXPECT_EQ(RunScripted(c, {SerialPage(0, 1, 2, 3, 4), {0x6A, 0x82}}).size(), 2U);
        EXPECT_EQ(ProtocolFailure([&] { c.ValidateResponse(); }),
                  "ValidateResponse: Invalid ACK data received from reader after GetSupportedCards command "
                  "(response phrase at index 1)");
    }
    {
        GetSupportedCardsWithMfp24Protocol c;
        EXPECT_EQ(RunScripted(c, {Mfp24Line("ECT")}).size(), 1U);
        EXPECT_EQ(ProtocolFailure([&] { c.ValidateResponse(); }),
                  "ValidateResponse: Error called GetSupportedCardsWithMfp24Protocol on ZEK1 reader.");
    }
}

TEST(SupportedCardsCommands, EachRefusalNamesItsCause)
{
    const auto serial = [](const std::vector<Bytes>& pages)
    {
        GetSupportedCardsWithSerialBinaryProtocol c;
        ScriptedTransport transport;
        transport.QueueReplies(pages);
        c.Execute(transport);
        return ProtocolFailure([&] { c.ValidateResponse(); });
    };
    const auto mfp24 = [](const std::vector<Bytes>& pages, bool decode)
    {
        GetSupportedCardsWithMfp24Protocol c;
        ScriptedTransport transport;
        transport.QueueReplies(pages);
        c.Execute(transport);
        return ProtocolFailure([&] { decode ? (void)c.GetResult() : c.ValidateResponse(); });
    };
    Bytes badStatus = SerialPage(0, 1, 0, 0, 0);
    badStatus[11] = 0x6A;
    struct Case
    {
        const char* name;
        std::string outcome;
        std::string expected;
    };
    const Case cases[] = {
        {"serial nothing received",
         ProtocolFailure([] { GetSupportedCardsWithSerialBinaryProtocol{}.ValidateResponse(); }),
         "ValidateResponse: No response received from reader after GetSupportedCards command"},
        {"serial empty page, its index as a number", serial({{}}),
         "ValidateResponse: Response phrase at index 0 is empty"},
        {"serial failure status", serial({badStatus}),
         "ValidateResponse: Invalid ACK data received from reader after GetSupportedCards command (response "
         "phrase at index 0)"},
        {"serial page cut before its status", serial({Bytes{0x09, 0x04, 0, 1, 0, 0, 0, 0, 0, 0, 0}}),
         "ValidateResponse: Invalid ACK data received from reader after GetSupportedCards command (response "
         "phrase at index 0)"},
        {"Mfp24 nothing received",
         ProtocolFailure([] { GetSupportedCardsWithMfp24Protocol{}.ValidateResponse(); }),
         "ValidateResponse: GetSupportedCardsWithMfp24Protocol command response was empty."},
        {"Mfp24 other line", mfp24({Mfp24Line("RCX")}, false),
         "ValidateResponse: GetSupportedCardsWithMfp24Protocol invalid response phrase."},
        {"Mfp24 line without CR",
         [&]
         {
             Bytes line = Mfp24Line("RCT0000");
             line.back() = '0';
             return mfp24({line}, false);
         }(),
         "ValidateResponse: GetSupportedCardsWithMfp24Protocol invalid response phrase."},
        {"Mfp24 bad digit",
         mfp24({Mfp24Line("RCT"
                          "0001"
                          "00G1"
                          "0000")},
               true),
         "hexStringToUint16: Invalid hex character."},
        {"FeatureReport page of odd length",
         []
         {
             GetSupportedCardsWithFeatureReportProtocol c;
             RunScripted(c, {{0x01, 0x00, 0x00}});
             return ProtocolFailure([&] { c.GetResult(); });
         }(),
         "GetResult: Invalid response phrase at index 0 for GetSupportedCards command: 3 bytes is not a "
         "whole "
         "number of card-type codes"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.outcome, c.expected) << c.name;
    }
}
} // namespace
