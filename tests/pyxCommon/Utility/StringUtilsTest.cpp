#include <gtest/gtest.h>

#include "Exceptions/TessmarException.h"
#include "Utility/EnvironmentVariables.h"
#include "Utility/StringUtils.h"

using PyxCommon::StringUtils;

namespace
{
using Pieces = std::vector<std::string>;

TEST(StringUtils, ToHexStringFillsButNeverCuts)
{
    EXPECT_EQ(StringUtils::ToHexString(255, 4), "00FF");
    EXPECT_EQ(StringUtils::ToHexString(0x12345, 2), "12345");
    EXPECT_EQ(StringUtils::ToHexString(0, 0), "0");
    EXPECT_EQ(StringUtils::ToHexString(0xDEADBEEF, 8), "DEADBEEF");
}

TEST(StringUtils, JoinPutsTheSeparatorBetweenNeighbours)
{
    EXPECT_EQ(StringUtils::Join({}, ","), "");
    EXPECT_EQ(StringUtils::Join({"a"}, ","), "a");
    EXPECT_EQ(StringUtils::Join({"a", "", "b"}, ", "), "a, , b");
}

TEST(StringUtils, SplitDropsOnlyATrailingEmptyPiece)
{
    EXPECT_EQ(StringUtils::Split("a,b", ","), (Pieces{"a", "b"}));
    EXPECT_EQ(StringUtils::Split("a,b,", ","), (Pieces{"a", "b"}));
    EXPECT_EQ(StringUtils::Split(",a", ","), (Pieces{"", "a"}));
    EXPECT_EQ(StringUtils::Split("a,,b", ","), (Pieces{"a", "", "b"}));
    EXPECT_EQ(StringUtils::Split("", ","), Pieces{});
    EXPECT_EQ(StringUtils::Split("key=value", "="), (Pieces{"key", "value"}));
    EXPECT_EQ(StringUtils::Split("=value", "="), (Pieces{"", "value"}));
    EXPECT_EQ(StringUtils::Split("key=", "="), (Pieces{"key"}));
    EXPECT_EQ(StringUtils::Split("a::b::", "::"), (Pieces{"a", "b"}));
    EXPECT_EQ(StringUtils::Split("ab", "abc"), (Pieces{"ab"}));
}

TEST(StringUtils, SplitOnAnEmptyDelimiterReturnsTheWholeText)
{
    EXPECT_EQ(StringUtils::Split("abc", ""), (Pieces{"abc"}));
}

TEST(StringUtils, TrimRemovesExactlyCWhiteSpace)
{
    EXPECT_EQ(StringUtils::Trim("   "), "");
    EXPECT_EQ(StringUtils::Trim(" \t\n\v\f\rx y\r\n"), "x y");
    // Bytes of 0x80 and above (a UTF-8 no-break space here) are text, not white space.
    EXPECT_EQ(StringUtils::Trim("\xC2\xA0x\xA0"), "\xC2\xA0x\xA0");
}

TEST(StringUtils, StartsWithIsCaseSensitive)
{
    EXPECT_TRUE(StringUtils::StartsWith("COM3", "COM"));
    EXPECT_TRUE(StringUtils::StartsWith("x", ""));
    EXPECT_FALSE(StringUtils::StartsWith("com3", "COM"));
    EXPECT_FALSE(StringUtils::StartsWith("CO", "COM"));
}

std::string ErrorOf(auto call)
{
    try
    {
        call();
    }
    catch (const TessmarException& e)
    {
        return e.GetFunctionName() + ": " + e.GetMessage();
    }
    return "<no exception>";
}

TEST(StringUtils, ParseBoolTakesOnlyOneAndZero)
{
    EXPECT_TRUE(StringUtils::ParseBool("1"));
    EXPECT_FALSE(StringUtils::ParseBool("0"));
    for (const char* bad : {"TRUE", "true", "01", " 1", ""})
    {
        EXPECT_EQ(ErrorOf([&] { StringUtils::ParseBool(bad); }),
                  std::string("ParseBool: Invalid boolean string: \"") + bad + "\"");
    }
}

TEST(StringUtils, ParseIntAcceptsItsFormsAndTheFullRange)
{
    EXPECT_EQ(StringUtils::ParseInt("7F", 16), 127);
    EXPECT_EQ(StringUtils::ParseInt("7f", 16), 127);
    EXPECT_EQ(StringUtils::ParseInt("-12", 10), -12);
    EXPECT_EQ(StringUtils::ParseInt("2147483647", 10), 2147483647);
    EXPECT_EQ(StringUtils::ParseInt("-2147483648", 10), -2147483647 - 1);
    EXPECT_EQ(StringUtils::ParseInt("-80000000", 16), -2147483647 - 1);
    EXPECT_EQ(StringUtils::ParseInt("007", 10), 7);
}

TEST(StringUtils, ParseIntRefusesEverythingElse)
{
    for (const char* bad :
         {"7f ", "-", "", "+1", "0x10", "2147483648", "-2147483649", "99999999999999999999999", "12a", " 1"})
    {
        EXPECT_EQ(ErrorOf([&] { StringUtils::ParseInt(bad, 10); }),
                  std::string("ParseInt: Invalid integer string: \"") + bad + "\"")
            << bad;
    }
    EXPECT_EQ(ErrorOf([] { StringUtils::ParseInt("G", 16); }), "ParseInt: Invalid integer string: \"G\"");
}

TEST(StringUtils, Crc32IsIeee)
{
    EXPECT_EQ(StringUtils::Crc32({}), "00000000");
    const std::string check = "123456789";
    EXPECT_EQ(StringUtils::Crc32(std::vector<std::uint8_t>(check.begin(), check.end())), "CBF43926");
    EXPECT_EQ(StringUtils::Crc32({0x00}), "D202EF8D");
}

TEST(EnvironmentVariables, SetEmptyAndUnset)
{
    using PyxCommon::EnvironmentVariables;
    ::setenv("PYX_TEST_VARIABLE_EMPTY", "", 1);
    ::unsetenv("PYX_TEST_VARIABLE_UNSET");
    EXPECT_TRUE(EnvironmentVariables::IsEnvironmentVariableSet("PYX_TEST_VARIABLE_EMPTY"));
    EXPECT_EQ(EnvironmentVariables::GetEnvironmentVariable("PYX_TEST_VARIABLE_EMPTY"), "");
    EXPECT_FALSE(EnvironmentVariables::IsEnvironmentVariableSet("PYX_TEST_VARIABLE_UNSET"));
    EXPECT_EQ(ErrorOf([] { EnvironmentVariables::GetEnvironmentVariable("PYX_TEST_VARIABLE_UNSET"); }),
              "GetEnvironmentVariable: Environment variable not set");
}
} // namespace
