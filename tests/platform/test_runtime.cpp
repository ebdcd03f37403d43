#include "platform/runtime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace platform;

namespace {
const double kInf = std::numeric_limits<double>::infinity();
}

TEST(Runtime, ValReadsTheLeadingNumber) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"1 2 3", 123}, {" - 3", -3}, {"\t+7\n", 7}, {"1.5E+02", 150}, {"2D3", 2000}, {"2.5e-1", 0.25},
        {".5x", 0.5}, {"12abc", 12}, {"1.2.3", 1.2}, {"1,000", 1}, {"3E", 3}, {"3E+", 3}, {"3E x", 3},
        {"abc", 0}, {"", 0}, {"-", 0}, {".", 0}, {"0.1", 0.1}, {"&HFF", 255}, {"&hff", 255},
        {"&HFFFF", -1}, {"&H8000", -32768}, {"&H10000", 65536}, {"&HFFFFFFFF", -1}, {"&O17", 15},
        {"&O8", 0}, {"&H", 0}, {"1E-400", 0}, {"1E00000000000000000002", 100}, {"1E400", kInf},
    };
    for (const auto& c : cases) EXPECT_EQ(Val(c.text), c.value) << '"' << c.text << '"';
}

TEST(Runtime, CIntAndCLngRoundHalfToEvenAndRefuseOutOfRange) {
    const double nan = std::nan("");
    const struct {
        double x;
        std::optional<int> i;
    } ints[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {2.5000001, 3}, {-0.4, 0}, {32767.4, 32767},
        {-32768.5, -32768}, {32767.5, std::nullopt}, {-32769, std::nullopt}, {1e300, std::nullopt},
        {nan, std::nullopt}, {kInf, std::nullopt},
    };
    for (const auto& c : ints) EXPECT_EQ(CInt(c.x), c.i) << c.x;
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_EQ(CLng(-2147483648.5), -2147483647 - 1);
    EXPECT_EQ(CLng(100000.5), 100000);
    EXPECT_EQ(CLng(2147483647.5), std::nullopt);
    EXPECT_EQ(CLng(-2147483649.0), std::nullopt);
    EXPECT_EQ(CLng(-kInf), std::nullopt);
    EXPECT_EQ(Int(-2.5) * 10 + Fix(-2.5), -32);
    EXPECT_EQ(Sgn(-0.1) * 10 + Sgn(0.0), -10);
}

TEST(Runtime, StrAndCStrGiveFifteenDigits) {
    const struct {
        double x;
        const char* str;
        const char* cstr;
    } cases[] = {
        {0.5, " .5", "0.5"}, {-0.25, "-.25", "-0.25"}, {3, " 3", "3"}, {0, " 0", "0"},
        {1e-100, " 1E-100", "1E-100"}, {1e-05, " 1E-05", "1E-05"}, {0.0001, " .0001", "0.0001"},
        {1e15, " 1E+15", "1E+15"}, {123456789012345.0, " 123456789012345", "123456789012345"},
        {1.5e-07, " 1.5E-07", "1.5E-07"}, {-2.5e200, "-2.5E+200", "-2.5E+200"}, {0.1 + 0.2, " .3", "0.3"},
        {2.0 / 3.0, " .666666666666667", "0.666666666666667"}, {1234.5678, " 1234.5678", "1234.5678"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Str(c.x), c.str);
        EXPECT_EQ(CStr(c.x), c.cstr);
    }
    EXPECT_EQ(Str(-5) + Str(5) + CStr(-7LL) + "|" + Format(0.75), "-5 5-7|0.75");
}

TEST(Runtime, StringsNeverReadOutside) {
    EXPECT_EQ(Mid("abcdef", 2, 3) + Mid("abcdef", 4) + Mid("abc", 5) + Mid("abc", 2, -1), "bcddef");
    EXPECT_EQ(Mid("abc", 3, 10) + Mid("abc", 0, 2), "cab");
    EXPECT_EQ(Left("ab", 5) + Left("abc", -3), "ab");
    EXPECT_EQ(Right("abc", 2) + Right("ab", -1) + Right("ab", 9), "bcab");
    const long found[] = {InStr("abcabc", "c"), InStr(4, "abcabc", "c"), InStr(7, "abcabc", "a"),
                          InStr(2, "abc", ""), InStr("", "a"), InStr(3, "abc", "bc")};
    EXPECT_EQ(std::vector<long>(std::begin(found), std::end(found)), (std::vector<long>{3, 6, 0, 2, 0, 0}));
    EXPECT_EQ(Trim("  a b  ") + "|" + LTrim(" a ") + "|" + RTrim(" a "), "a b|a | a");
    EXPECT_EQ(UCase("aB1") + LCase("Ab"), "AB1ab");
    EXPECT_EQ(Chr(65) + Chr(300), "A");
    EXPECT_EQ(Asc("\xE9") + Asc(""), 233);
    EXPECT_EQ(Space(3) + Space(-1) + String(2, '*'), "   **");
}

// Every pattern the program prints with, and the classic rules around them.
TEST(Runtime, FormatPatterns) {
    const struct {
        double x;
        const char* pattern;
        const char* text;
    } cases[] = {
        {1234.56789, "0.0000000E+00", "1.2345679E+03"}, {-1234.56789, "0.0000000E+00", "-1.2345679E+03"},
        {0, "0.0000000E+00", "0.0000000E+00"},          {1e-100, "0.0000000E+00", "1.0000000E-100"},
        {123456, "0.0000E+00", "1.2346E+05"},           {1e-5, "0.0000E+00", "1.0000E-05"},
        {0.00012346, "0.000E+00", "1.235E-04"},         {-0.5, "0.000E+00", "-5.000E-01"},
        {123456.5, "0.00000E+00", "1.23457E+05"},       {0.125, "0.0E+00", "1.3E-01"},
        {1234.5, "0.000E+000", "1.235E+003"},           {9.99995, "0.000E+000", "1.000E+001"},
        {4.9e-324, "0.000E+000", "4.941E-324"},         {1234.5, " 0.000E+000", " 1.235E+003"},
        {-1234.5, " 0.000E+000", "- 1.235E+003"},       {-2.5, " 0.00000E+00", "- 2.50000E+00"},
        {-1234.5, "    0.0000E+000", "-    1.2345E+003"}, {1234.5, "0.0000E+000   ", "1.2345E+003   "},
        {1234.5, "0.00E-00", "1.23E03"},                {1234.5, "0.00e+00", "1.23e+03"},
        {1234.5, "00.0E+00", "12.3E+02"},               {0.3, "0.0#E+0", "3.0E-1"},
        {3, "####0.#####", "3."},                       {123456.7, "####0.#####", "123456.7"},
        {0.000001, "####0.#####", "0."},                {-2.5, "####0.#####     ", "-2.5     "},
        {-0.123456, "#0.0###", "-0.1235"},              {10, "#0.0###", "10.0"},
        {0.98765, "#0.0##", "0.988"},                   {1, "0.####", "1."},
        {0.5, "#.##", ".5"},                            {0, "#.##", "."},
        {1234.5, "##0", "1235"},                        {0, "##0", "0"},
        {-3, "###0", "-3"},                             {7, "#####0", "7"},
        {2.5, "0", "3"},                                {-2.5, "0", "-3"},
        {7, "00", "07"},                                {123, "00", "123"},
        {12, "##0)", "12)"},                            {7, "000)", "007)"},
        {7, " 000) ", " 007) "},                        {12, "    000) ", "    012) "},
        {1234, "000", "1234"},                          {3, " ##0 ", " 3 "},
        {-1, "#######0.0000", "-1.0000"},               {0.0246, "#0.0000", "0.0246"},
        {0.000123456, "#0.0000#", "0.00012"},           {0.5, "#0.0000#", "0.5000"},
        {12.3456, " ###0.000", " 12.346"},              {-12.3456, " ###0.00", "- 12.35"},
        {1.0 / 3.0, "#0.00000000", "0.33333333"},       {2.5, "########0.##", "2.5"},
        {12.5, ".00", "12.50"},                         {1e20, "0", "100000000000000000000"},
        {0.125, "0.00", "0.13"},                        {-0.125, "0.00", "-0.13"},
        // Not exact in binary: rounded as the double they are (1.00499999...).
        {1.005, "0.00", "1.00"},                        {2.675, "0.00", "2.67"},
        {0.9951, "0.00", "1.00"},                       {999.9996, "0.000", "1000.000"},
        {-0.001, "0.00", "-0.00"},                      {-0.0, "0.00", "0.00"},
        {1234567.891, "#,##0.00", "1,234,567.89"},      {-1234, "#,##0", "-1,234"},
        {1234567, "0,", "1235"},                        {0.256, "0.0%", "25.6%"},
        {5, "\\$0", "$5"},                              {5, "\"n = \"0", "n = 5"},
        {-1.5, "0.00;(0.00)", "(1.50)"},                {0, "0.00;(0.00);\"zero\"", "zero"},
        {-2, "0;;\"zero\"", "-2"},                      {1234.567, "Standard", "1,234.57"},
        {-0.5, "Fixed", "-0.50"},                       {1234.567, "Scientific", "1.23E+03"},
        {0.256, "Percent", "25.60%"},                   {1.5, "", "1.5"},
        {kInf, "0.00", "Infinity"},                     {std::nan(""), "0.00", "NaN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.x, c.pattern), c.text) << "Format(" << c.x << ", \"" << c.pattern << "\")";
}

// Scaling by a percent sign past the largest double: the exact decimal digits
// of the value, the point moved two places per percent sign.
TEST(Runtime, FormatPercentOfValuesThatOverflowWhenScaled) {
    const std::string exact1e307 =   // the double nearest 1E307, written out
        "999999999999999986031059760256457771700264183812636387524966073588356585267274384906484641"
        "422896066678637928039265461539335317285025210333627595237061539701073069166468937517856903"
        "985107314633964162326607112672001102016955330401859645781268856194720117148846117292182213"
        "9066929851282122002676667750021070848";
    const std::string exactMax =     // the largest finite double
        "179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558"
        "632766878171540458953514382464234321326889464182768467546703537516986049910576551282076245"
        "490090389328944075868508455133942304583236903222948165808559332123348274797826204144723168"
        "738177180919299881250404026184124858368";
    EXPECT_EQ(Format(1E307, "0%"), exact1e307 + "00%");
    EXPECT_EQ(Format(-1.7976931348623157E308, "0.0%"), "-" + exactMax + "00.0%");
    EXPECT_EQ(Format(1.7976931348623157E308, "0%%"), exactMax + "0000%%");
    EXPECT_EQ(Format(1.7976931348623157E308, "Percent"), exactMax + "00.00%");
    EXPECT_EQ(Format(1E306, "0%"), Format(1E308, "0") + "%");   // still finite: scaled as a double
}

TEST(Runtime, FormatOfTextFormatsOnlyDecimalNumbers) {
    EXPECT_EQ(Format("12.5", "0.00"), "12.50");
    EXPECT_EQ(Format(" -3", "0.0"), "-3.0");
    for (const char* text : {"Undefined", "~~", "AB", "INF", "NAN", "-", "0x10"})
        EXPECT_EQ(Format(std::string_view(text), "  "), text);
}

TEST(Runtime, DatesAndPalette) {
    std::tm t{};
    t.tm_year = 124, t.tm_mon = 2, t.tm_mday = 5, t.tm_hour = 7, t.tm_min = 4, t.tm_sec = 9;
    EXPECT_EQ(DateText(t) + " " + TimeText(t), "03-05-2024 07:04:09");
    EXPECT_EQ(DateTimeFileName(t, ".alg"), "03050704.alg");
    const std::int32_t bgr[16] = {0x0,    0x800000, 0x8000,   0x808000, 0x80,   0x800080, 0x8080, 0xC0C0C0,
                                  0x808080, 0xFF0000, 0xFF00, 0xFFFF00, 0xFF, 0xFF00FF, 0xFFFF, 0xFFFFFF};
    for (int n = 0; n < 16; ++n) EXPECT_EQ(QBColor(n), bgr[n]) << n;
    EXPECT_EQ(QBColor(-1), 0);
    EXPECT_EQ(QBColor(99), 0xFFFFFF);
    EXPECT_EQ(RGB(1, 2, 3), 1 + 2 * 256 + 3 * 65536);
    EXPECT_EQ(RGB(300, -5, 255), 0xFF00FF);
}
