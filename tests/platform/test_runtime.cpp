#include "platform/runtime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace platform;

namespace {

struct FormatCase {
    double value;
    const char* pattern;
    const char* expected;
};

void ExpectFormats(const std::vector<FormatCase>& cases) {
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.value, c.pattern), c.expected) << "Format(" << c.value << ", \"" << c.pattern << "\")";
}

}  // namespace

TEST(Val, ReadsLeadingNumber) {
    EXPECT_EQ(Val("1 2 3"), 123);
    EXPECT_EQ(Val(" - 3"), -3);
    EXPECT_EQ(Val("\t+7\n"), 7);
    EXPECT_EQ(Val("1.5E+02"), 150);
    EXPECT_EQ(Val("2D3"), 2000);
    EXPECT_EQ(Val("2.5e-1"), 0.25);
    EXPECT_EQ(Val(".5x"), 0.5);
    EXPECT_EQ(Val("12abc"), 12);
    EXPECT_EQ(Val("1.2.3"), 1.2);
    EXPECT_EQ(Val("1,000"), 1);
    EXPECT_EQ(Val("3E"), 3);
    EXPECT_EQ(Val("3E+"), 3);
    EXPECT_EQ(Val("3E x"), 3);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("-"), 0);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("0.1"), 0.1);   // correctly rounded, like a literal
}

TEST(Val, HexAndOctal) {
    EXPECT_EQ(Val("&HFF"), 255);
    EXPECT_EQ(Val("&hff"), 255);
    EXPECT_EQ(Val("&HFFFF"), -1);        // 16-bit when it fits
    EXPECT_EQ(Val("&H8000"), -32768);
    EXPECT_EQ(Val("&H10000"), 65536);
    EXPECT_EQ(Val("&HFFFFFFFF"), -1);    // then 32-bit
    EXPECT_EQ(Val("&O17"), 15);
    EXPECT_EQ(Val("&O8"), 0);
    EXPECT_EQ(Val("&H"), 0);
}

TEST(Val, ExtremeExponents) {
    EXPECT_TRUE(std::isinf(Val("1E400")));
    EXPECT_EQ(Val("1E-400"), 0);
    EXPECT_EQ(Val("1E00000000000000000002"), 100);
}

TEST(Conversions, CIntRoundsHalfToEven) {
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(3.5), 4);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CInt(-3.5), -4);
    EXPECT_EQ(CInt(0.5), 0);
    EXPECT_EQ(CInt(1.5), 2);
    EXPECT_EQ(CInt(2.5000001), 3);
    EXPECT_EQ(CInt(-0.4), 0);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(-32768.5), -32768);
    EXPECT_EQ(CInt(32767.5), std::nullopt);   // rounds to 32768
    EXPECT_EQ(CInt(-32769), std::nullopt);
    EXPECT_EQ(CInt(1e300), std::nullopt);
    EXPECT_EQ(CInt(std::nan("")), std::nullopt);
    EXPECT_EQ(CInt(std::numeric_limits<double>::infinity()), std::nullopt);
}

TEST(Conversions, CLngRange) {
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_EQ(CLng(-2147483648.0), -2147483647 - 1);
    EXPECT_EQ(CLng(2147483647.5), std::nullopt);
    EXPECT_EQ(CLng(-2147483648.5), -2147483647 - 1);
    EXPECT_EQ(CLng(-2147483649.0), std::nullopt);
    EXPECT_EQ(CLng(100000.5), 100000);
    EXPECT_EQ(CLng(-std::numeric_limits<double>::infinity()), std::nullopt);
}

TEST(Conversions, IntFixSgn) {
    EXPECT_EQ(Int(-2.5), -3);
    EXPECT_EQ(Fix(-2.5), -2);
    EXPECT_EQ(Int(2.7), 2);
    EXPECT_EQ(Fix(2.7), 2);
    EXPECT_EQ(Sgn(-0.1), -1);
    EXPECT_EQ(Sgn(0.0), 0);
    EXPECT_EQ(Sgn(5), 1);
}

TEST(Str, NumberText) {
    EXPECT_EQ(Str(0.5), " .5");
    EXPECT_EQ(Str(-0.25), "-.25");
    EXPECT_EQ(Str(3.0), " 3");
    EXPECT_EQ(Str(-1.5), "-1.5");
    EXPECT_EQ(Str(0.0), " 0");
    EXPECT_EQ(Str(1e-100), " 1E-100");
    EXPECT_EQ(Str(1e-05), " 1E-05");
    EXPECT_EQ(Str(0.0001), " .0001");
    EXPECT_EQ(Str(1e15), " 1E+15");
    EXPECT_EQ(Str(123456789012345.0), " 123456789012345");
    EXPECT_EQ(Str(1.5e-07), " 1.5E-07");
    EXPECT_EQ(Str(-2.5e200), "-2.5E+200");
    EXPECT_EQ(Str(0.1 + 0.2), " .3");            // 15 significant digits
    EXPECT_EQ(Str(1.0 / 3.0), " .333333333333333");
    EXPECT_EQ(Str(2.0 / 3.0), " .666666666666667");
    EXPECT_EQ(Str(5), " 5");
    EXPECT_EQ(Str(-5), "-5");
    EXPECT_EQ(Str(0), " 0");
}

TEST(Str, CStrKeepsLeadingZero) {
    EXPECT_EQ(CStr(0.5), "0.5");
    EXPECT_EQ(CStr(-0.25), "-0.25");
    EXPECT_EQ(CStr(3.0), "3");
    EXPECT_EQ(CStr(1e-05), "1E-05");
    EXPECT_EQ(CStr(1.5e-07), "1.5E-07");
    EXPECT_EQ(CStr(1234.5678), "1234.5678");
    EXPECT_EQ(CStr(42), "42");
    EXPECT_EQ(CStr(-7LL), "-7");
    EXPECT_EQ(Format(0.75), "0.75");
}

TEST(Strings, MidLeftRightNeverReadOutside) {
    EXPECT_EQ(Mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Mid("abcdef", 4), "def");
    EXPECT_EQ(Mid("abc", 5), "");
    EXPECT_EQ(Mid("abc", 3, 10), "c");
    EXPECT_EQ(Mid("abc", 0, 2), "ab");
    EXPECT_EQ(Mid("abc", 2, -1), "");
    EXPECT_EQ(Left("ab", 5), "ab");
    EXPECT_EQ(Left("abc", -3), "");
    EXPECT_EQ(Right("abc", 2), "bc");
    EXPECT_EQ(Right("ab", -1), "");
    EXPECT_EQ(Right("ab", 9), "ab");
    EXPECT_EQ(Len("abc"), 3);
}

TEST(Strings, InStr) {
    EXPECT_EQ(InStr("abcabc", "c"), 3);
    EXPECT_EQ(InStr(4, "abcabc", "c"), 6);
    EXPECT_EQ(InStr("abc", "x"), 0);
    EXPECT_EQ(InStr(7, "abcabc", "a"), 0);
    EXPECT_EQ(InStr("abc", ""), 1);
    EXPECT_EQ(InStr(2, "abc", ""), 2);
    EXPECT_EQ(InStr("", "a"), 0);
    EXPECT_EQ(InStr(3, "abc", "bc"), 0);
}

TEST(Strings, CaseTrimAndBuilders) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(LTrim("  a "), "a ");
    EXPECT_EQ(RTrim("  a "), "  a");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(UCase("aBc1"), "ABC1");
    EXPECT_EQ(LCase("AbC1"), "abc1");
    EXPECT_EQ(Chr(65), "A");
    EXPECT_EQ(Chr(300), "");
    EXPECT_EQ(Asc("A"), 65);
    EXPECT_EQ(Asc(""), 0);
    EXPECT_EQ(Asc("\xE9"), 233);
    EXPECT_EQ(Space(3), "   ");
    EXPECT_EQ(Space(-1), "");
    EXPECT_EQ(String(3, '*'), "***");
}

TEST(Format, ScientificPatterns) {
    ExpectFormats({
        {1234.56789, "0.0000000E+00", "1.2345679E+03"},
        {-1234.56789, "0.0000000E+00", "-1.2345679E+03"},
        {0, "0.0000000E+00", "0.0000000E+00"},
        {-1, "0.0000000E+00", "-1.0000000E+00"},
        {1e-100, "0.0000000E+00", "1.0000000E-100"},
        {1234.5, "0.000E+000", "1.235E+003"},
        {0, "0.000E+000", "0.000E+000"},
        {9.99995, "0.000E+000", "1.000E+001"},     // carry into the exponent
        {1.5e300, "0.000E+000", "1.500E+300"},
        {4.9e-324, "0.000E+000", "4.941E-324"},
        {1234.5, " 0.000E+000", " 1.235E+003"},
        {-1234.5, " 0.000E+000", "- 1.235E+003"},   // minus before the blank
        {0.00012346, "0.000E+00", "1.235E-04"},
        {-0.5, "0.000E+00", "-5.000E-01"},
        {123456, "0.0000E+00", "1.2346E+05"},
        {1e-5, "0.0000E+00", "1.0000E-05"},
        {0.25, "0.0E+00", "2.5E-01"},
        {0.125, "0.0E+00", "1.3E-01"},
        {1234.5, "    0.0000E+000", "    1.2345E+003"},
        {-1234.5, "    0.0000E+000", "-    1.2345E+003"},
        {1234.5, "0.0000E+000   ", "1.2345E+003   "},
        {1234.5, "0.00E-00", "1.23E03"},            // E- shows only a minus
        {0.001, "0.00E-00", "1.00E-03"},
        {1234.5, "0.00e+00", "1.23e+03"},
        {1234.5, "00.0E+00", "12.3E+02"},
        {1.0 / 3.0, "0.0#E+0", "3.33E-1"},
        {0.3, "0.0#E+0", "3.0E-1"},
    });
}

TEST(Format, FixedPatterns) {
    ExpectFormats({
        {3, "####0.#####", "3."},                 // the point is always printed
        {3.25, "####0.#####", "3.25"},
        {123456.7, "####0.#####", "123456.7"},
        {0.000001, "####0.#####", "0."},
        {-2.5, "####0.#####     ", "-2.5     "},
        {2.5, "#0.0###", "2.5"},
        {-0.123456, "#0.0###", "-0.1235"},
        {10, "#0.0###", "10.0"},
        {0.5, "#0.0##", "0.5"},
        {0.98765, "#0.0##", "0.988"},
        {0.5, "0.####", "0.5"},
        {1, "0.####", "1."},
        {0.5, "#.##", ".5"},
        {0, "#.##", "."},
        {7, "##0", "7"},
        {1234.5, "##0", "1235"},                  // extra digits are never cut
        {0, "##0", "0"},
        {-3, "###0", "-3"},
        {5, "#0", "5"},
        {2.5, "0", "3"},
        {-2.5, "0", "-3"},                        // half away from zero
        {0.4, "0", "0"},
        {7, "00", "07"},
        {123, "00", "123"},
        {0.12345, "0.0000", "0.1235"},
        {12, "##0)", "12)"},
        {7, " 000) ", " 007) "},
        {1234, " 000) ", " 1234) "},
        {12, "    000) ", "    012) "},
        {0.0246, "#0.0000", "0.0246"},
        {-1, "#0.0000", "-1.0000"},
        {-1, "#####0.0000000", "-1.0000000"},
        {12.3456, " ###0.000", " 12.346"},
        {-12.3456, " ###0.00", "- 12.35"},
        {3, " ##0 ", " 3 "},
        {12.5, "##0.00", "12.50"},
        {1e20, "0", "100000000000000000000"},
        {12.5, ".00", "12.50"},
    });
}

TEST(Format, RoundingOfDecimalValues) {
    // Ties that are exact in binary round away from zero.
    EXPECT_EQ(Format(0.125, "0.00"), "0.13");
    EXPECT_EQ(Format(-0.125, "0.00"), "-0.13");
    EXPECT_EQ(Format(0.5, "0"), "1");
    // Other values are rounded as the double they are: 1.005 is 1.00499999...
    // and 0.075 is 0.07499999..., so both round down (Format(0.075, "#.##")
    // gives ".07" in the VBA 5/6 runtime as well).
    EXPECT_EQ(Format(1.005, "0.00"), "1.00");
    EXPECT_EQ(Format(0.075, "#.##"), ".07");
    EXPECT_EQ(Format(2.675, "0.00"), "2.67");
    EXPECT_EQ(Format(0.995, "0.00"), "0.99");
    EXPECT_EQ(Format(0.9951, "0.00"), "1.00");
    EXPECT_EQ(Format(999.9996, "0.000"), "1000.000");
}

TEST(Format, NegativeRoundingToZeroKeepsSign) {
    EXPECT_EQ(Format(-0.001, "0.00"), "-0.00");
    EXPECT_EQ(Format(-0.4, "##0"), "-0");
    EXPECT_EQ(Format(-0.0, "0.00"), "0.00");
}

TEST(Format, ThousandsPercentAndLiterals) {
    EXPECT_EQ(Format(1234567.891, "#,##0.00"), "1,234,567.89");
    EXPECT_EQ(Format(-1234, "#,##0"), "-1,234");
    EXPECT_EQ(Format(12, "#,##0"), "12");
    EXPECT_EQ(Format(1234567, "0,"), "1235");     // a trailing comma divides by 1000
    EXPECT_EQ(Format(0.256, "0.0%"), "25.6%");
    EXPECT_EQ(Format(5, "\\$0"), "$5");
    EXPECT_EQ(Format(5, "\"n = \"0"), "n = 5");
}

TEST(Format, Sections) {
    EXPECT_EQ(Format(1.5, "0.00;(0.00)"), "1.50");
    EXPECT_EQ(Format(-1.5, "0.00;(0.00)"), "(1.50)");
    EXPECT_EQ(Format(0, "0.00;(0.00);\"zero\""), "zero");
    EXPECT_EQ(Format(-2, "0;;\"zero\""), "-2");   // empty section uses the first
    EXPECT_EQ(Format(0, "0;(0);"), "0");
}

TEST(Format, NamedFormats) {
    EXPECT_EQ(Format(1234.567, "Fixed"), "1234.57");
    EXPECT_EQ(Format(-0.5, "Fixed"), "-0.50");
    EXPECT_EQ(Format(1234.567, "Standard"), "1,234.57");
    EXPECT_EQ(Format(1234.567, "Scientific"), "1.23E+03");
    EXPECT_EQ(Format(0.5, "General Number"), "0.5");
    EXPECT_EQ(Format(0.256, "Percent"), "25.60%");
    EXPECT_EQ(Format(3, "fixed"), "3.00");
    EXPECT_EQ(Format(1.5, ""), "1.5");
}

TEST(Format, TextValues) {
    EXPECT_EQ(Format("Undefined", " ###0.00"), "Undefined");
    EXPECT_EQ(Format("~~", "  "), "~~");
    EXPECT_EQ(Format("AB", "&"), "AB");
    EXPECT_EQ(Format("12.5", "0.00"), "12.50");
    EXPECT_EQ(Format("-3", "0.0"), "-3.0");
    EXPECT_EQ(Format("-", "0"), "-");
}

TEST(Format, NonFiniteValues) {
    EXPECT_EQ(Format(std::numeric_limits<double>::infinity(), "0.00"), "Infinity");
    EXPECT_EQ(Format(-std::numeric_limits<double>::infinity(), "0.00"), "-Infinity");
    EXPECT_EQ(Format(std::nan(""), "0.00"), "NaN");
}

TEST(DatesAndColours, Texts) {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 7;
    t.tm_min = 4;
    t.tm_sec = 9;
    EXPECT_EQ(DateText(t), "03-05-2024");
    EXPECT_EQ(TimeText(t), "07:04:09");
    EXPECT_EQ(DateTimeFileName(t, ".alg"), "03050704.alg");
}

TEST(DatesAndColours, Palette) {
    const std::int32_t expected[16] = {0x0,      0x800000, 0x8000,   0x808000, 0x80,     0x800080,
                                       0x8080,   0xC0C0C0, 0x808080, 0xFF0000, 0xFF00,   0xFFFF00,
                                       0xFF,     0xFF00FF, 0xFFFF,   0xFFFFFF};
    for (int n = 0; n < 16; ++n) EXPECT_EQ(QBColor(n), expected[n]) << n;
    EXPECT_EQ(QBColor(-1), 0);
    EXPECT_EQ(QBColor(99), 0xFFFFFF);
    EXPECT_EQ(RGB(255, 0, 0), 0xFF);
    EXPECT_EQ(RGB(1, 2, 3), 1 + 2 * 256 + 3 * 65536);
    EXPECT_EQ(RGB(300, -5, 255), 0xFF00FF);
}
