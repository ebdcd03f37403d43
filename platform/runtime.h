// Language runtime functions: conversions, strings and number formatting.
// Everything here works in the C locale and has no state.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Leading number of a text: blanks are skipped anywhere, reading stops at the
// first character that cannot continue the number; 0 when there is none.
// Accepts a sign, decimals, an exponent (E or D) and &H / &O prefixes.
double Val(std::string_view s);

// True when the whole text, blanks around it allowed, reads as one number:
// an optional sign, digits with at most one decimal point, and an optional
// exponent (E or D) with its own sign and digits.
bool IsNumeric(std::string_view text);

// The value of a field that is wholly a number (blanks around it allowed);
// nothing for an empty field or any other text.
std::optional<double> NumericField(std::string_view text);

// Round half to even into the range of a 16-bit Integer / 32-bit Long.
// std::nullopt when the value is out of range or not finite.
std::optional<int> CInt(double x);
std::optional<std::int32_t> CLng(double x);

double Int(double x);   // largest whole number <= x
double Fix(double x);   // whole part, towards zero
int Sgn(double x);      // -1, 0 or 1

// Str: shortest text of up to 15 significant digits, with a leading blank for
// non-negative numbers (" .5", "-1.5", " 1E-100"). CStr: the same without the blank.
std::string Str(double x);
std::string CStr(double x);
std::string Str(long long x);
std::string CStr(long long x);
inline std::string Str(int x) { return Str(static_cast<long long>(x)); }
inline std::string CStr(int x) { return CStr(static_cast<long long>(x)); }
inline std::string Str(long x) { return Str(static_cast<long long>(x)); }
inline std::string CStr(long x) { return CStr(static_cast<long long>(x)); }

std::string Trim(std::string_view s);    // leading and trailing blanks
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
// 1-based, never reads outside the string; a start past the end gives "".
std::string Mid(std::string_view s, long start);
std::string Mid(std::string_view s, long start, long length);
std::string Left(std::string_view s, long length);
std::string Right(std::string_view s, long length);
long Len(std::string_view s);
// 1-based position of find in s at or after start, 0 when absent.
long InStr(std::string_view s, std::string_view find);
long InStr(long start, std::string_view s, std::string_view find);
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
std::string Chr(int code);
int Asc(std::string_view s);   // code of the first character, 0 for ""
std::string Space(long n);
std::string String(long n, char c);

inline constexpr const char* vbCrLf = "\r\n";
inline constexpr const char* vbCr = "\r";
inline constexpr const char* vbLf = "\n";
inline constexpr const char* vbTab = "\t";

// Numeric Format with user patterns: 0 and # digit placeholders, one decimal
// point, thousands separator, E+/E-/e+/e- exponents with their digit count,
// literal characters and blanks (a minus sign goes before leading literals),
// and up to three sections separated by ';'. Named formats: "Fixed",
// "Standard", "Scientific", "General Number", "Percent".
std::string Format(double x, std::string_view pattern);
// Format without a pattern gives the CStr text.
std::string Format(double x);
// A text that reads completely as a number is formatted as that number; any
// other text ("Undefined", a fuse code) comes back unchanged.
std::string Format(std::string_view text, std::string_view pattern);

// Dates and times.
std::string DateText(const std::tm& t);   // "mm-dd-yyyy"
std::string TimeText(const std::tm& t);   // "hh:mm:ss"
// Month, day, hour and minute, two digits each, then ext (".alg").
std::string DateTimeFileName(const std::tm& t, std::string_view ext);

// Colour of the 16-colour palette as a BGR value (0 black ... 15 bright white).
std::int32_t QBColor(int n);
std::int32_t RGB(int r, int g, int b);

// Physical memory of this computer in bytes; 0 when it cannot be told.
std::uint64_t PhysicalMemoryBytes();

}  // namespace platform
