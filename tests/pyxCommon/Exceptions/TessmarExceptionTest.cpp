#include <gtest/gtest.h>

#include "Exceptions/TessmarException.h"

namespace
{
TEST(TessmarException, RecordsWhereItWasRaised)
{
    const TessmarException e(std::string("boom"), "Some.cpp", 42, "Visit");
    EXPECT_STREQ(e.what(), "boom");
    EXPECT_EQ(e.GetMessage(), "boom");
    EXPECT_EQ(e.GetFileName(), "Some.cpp");
    EXPECT_EQ(e.GetLineNumber(), 42);
    EXPECT_EQ(e.GetFunctionName(), "Visit");
    EXPECT_EQ(e.GetExceptionType(), "TessmarException");

    const TessmarException copy(e);
    EXPECT_EQ(copy.GetMessage(), "boom");
    EXPECT_EQ(copy.GetFunctionName(), "Visit");
    EXPECT_STREQ(copy.what(), "boom");
}

TEST(TessmarException, NullTextsAreEmpty)
{
    const TessmarException e(static_cast<const char*>(nullptr), nullptr, 1, nullptr);
    EXPECT_EQ(e.GetMessage(), "");
    EXPECT_STREQ(e.what(), "");
    EXPECT_EQ(e.GetFileName(), "");
    EXPECT_EQ(e.GetFunctionName(), "");
}

TEST(TessmarException, FileNameIsStoredAsGiven)
{
    const TessmarException e("m", "Exceptions/TessmarException", 48, "f");
    EXPECT_EQ(e.GetFileName(), "Exceptions/TessmarException");
}

TEST(TessmarException, ThrowSitesPassTheBaseNameOnly)
{
    EXPECT_STREQ(PyxCommon::Detail::BaseName("/a/b/c.cpp"), "c.cpp");
    EXPECT_STREQ(PyxCommon::Detail::BaseName("C:\\src\\x\\c.cpp"), "c.cpp");
    EXPECT_STREQ(PyxCommon::Detail::BaseName("c.cpp"), "c.cpp");
    try
    {
        PYX_THROW(TessmarException, "here");
    }
    catch (const TessmarException& e)
    {
        EXPECT_EQ(e.GetFileName(), "TessmarExceptionTest.cpp");
        EXPECT_EQ(e.GetFunctionName(), "TestBody");
    }
}

TEST(TessmarException, CaughtAsRuntimeError)
{
    EXPECT_THROW(throw TessmarException("x", "f", 1, "g"), std::runtime_error);
}

std::string RangeMessage(auto thrower)
{
    try
    {
        thrower();
    }
    catch (const TessmarException& e)
    {
        EXPECT_EQ(e.GetFunctionName(), "ThrowExceptionForPropertyOutOfRange");
        // Hosts have always been shown this place for range failures.
        EXPECT_EQ(e.GetFileName(), "TessmarException.h");
        EXPECT_EQ(e.GetLineNumber(), 48);
        return e.GetMessage();
    }
    return "<no exception>";
}

TEST(RangeCheck, BoundsAreInclusive)
{
    EXPECT_NO_THROW(ThrowExceptionForPropertyOutOfRange<std::uint8_t>("N", 0, 0, 26));
    EXPECT_NO_THROW(ThrowExceptionForPropertyOutOfRange<std::uint8_t>("N", 26, 0, 26));
    EXPECT_NO_THROW(ThrowExceptionForPropertyOutOfRange<std::uint32_t>("N", 5, 5, 5));
    EXPECT_EQ(RangeMessage([] { ThrowExceptionForPropertyOutOfRange<std::uint8_t>("N", 4, 5, 9); }),
              "N setting must be between 5 and 9 inclusive");
}

TEST(RangeCheck, EightBitBoundsPrintAsNumbers)
{
    EXPECT_EQ(RangeMessage(
                  []
                  {
                      ThrowExceptionForPropertyOutOfRange<std::uint8_t>(
                          "ReaderConfigurationStruct::FacDigitCount", 27, 0, 26);
                  }),
              "ReaderConfigurationStruct::FacDigitCount setting must be between 0 and 26 inclusive");
    EXPECT_EQ(RangeMessage([] { ThrowExceptionForPropertyOutOfRange<std::uint8_t>("S", 200, 0, 142); }),
              "S setting must be between 0 and 142 inclusive");
    EXPECT_EQ(RangeMessage(
                  []
                  { ThrowExceptionForPropertyOutOfRange<std::uint32_t>("T", 4000000000U, 1, 3000000000U); }),
              "T setting must be between 1 and 3000000000 inclusive");
}
} // namespace
