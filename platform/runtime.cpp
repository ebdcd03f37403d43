#include "platform/runtime.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace platform {

namespace {

bool IsValBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// &H / &O numbers are 16-bit when they fit in 16 bits, else 32-bit, as literals are.
double RadixVal(std::string_view s, std::size_t i, int radix) {
    std::uint64_t v = 0;
    bool any = false;
    for (; i < s.size(); ++i) {
        if (IsValBlank(s[i])) continue;
        const int d = HexValue(s[i]);
        if (d < 0 || d >= radix) break;
        any = true;
        if (v <= (UINT64_MAX >> 4)) v = v * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
    }
    if (!any) return 0.0;
    if (v <= 0xFFFFu) return v >= 0x8000u ? static_cast<double>(v) - 65536.0 : static_cast<double>(v);
    if (v <= 0xFFFFFFFFu)
        return v >= 0x80000000u ? static_cast<double>(v) - 4294967296.0 : static_cast<double>(v);
    return static_cast<double>(v);
}

// Decimal digits of |x|: x = d[0].d[1]d[2]... * 10^exp10. With exact set the
// digits are the complete binary value; otherwise 15 significant digits.
struct Digits {
    std::string d;
    int exp10 = 0;
};

Digits DecimalDigits(double x, bool exact) {
    Digits r;
    x = std::fabs(x);
    if (x == 0.0 || !std::isfinite(x)) {   // callers pass finite values
        r.d = "0";
        return r;
    }
    // x = m * 2^(e - 53) with m < 2^53 (16 digits); its exact decimal form has at
    // most 16 + (digits added by 2^(e-53) or 5^(53-e)) digits, never above 767.
    int e2 = 0;
    std::frexp(x, &e2);
    const int k = 53 - e2;
    const int bound = 18 + (k > 0 ? (k * 7 + 9) / 10 : (-k * 31 + 99) / 100);
    char buf[800];
    const int precision = exact ? std::min(bound, 770) : 14;
    const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, precision);
    const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    const std::size_t e = text.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.') r.d.push_back(text[i]);
    int ex = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), ex);
    r.exp10 = ex;
    return r;
}

// Adds one to a decimal digit string; true when it grew by a digit.
bool Increment(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

// Keeps the first n digits of d (padding with zeros), rounding half away from zero
// on the following digit. Returns true when the rounding carried into a new digit.
bool RoundDigits(const std::string& d, long n, std::string& out) {
    out.clear();
    if (n < 0) return false;
    const std::size_t keep = static_cast<std::size_t>(n);
    out = d.substr(0, std::min(keep, d.size()));
    out.append(keep - out.size(), '0');
    if (keep < d.size() && d[keep] >= '5') return Increment(out);
    return false;
}

std::string ExponentText(int e, bool plusSign, std::size_t minDigits) {
    std::string digits = std::to_string(e < 0 ? -static_cast<long>(e) : static_cast<long>(e));
    if (digits.size() < minDigits) digits.insert(0, minDigits - digits.size(), '0');
    if (e < 0) return "-" + digits;
    return plusSign ? "+" + digits : digits;
}

// Number text of up to 15 significant digits; keepZero keeps "0" before a point.
std::string NumberText(double x, bool keepZero) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x < 0 ? "-Infinity" : "Infinity";
    if (x == 0.0) return "0";
    Digits g = DecimalDigits(x, false);
    while (g.d.size() > 1 && g.d.back() == '0') g.d.pop_back();
    std::string out = x < 0 ? "-" : "";
    const int e = g.exp10;
    if (e >= 15 || e < -4) {
        out += g.d.substr(0, 1);
        if (g.d.size() > 1) out += "." + g.d.substr(1);
        out += "E" + ExponentText(e, true, 2);
    } else if (e < 0) {
        if (keepZero) out += "0";
        out += "." + std::string(static_cast<std::size_t>(-e - 1), '0') + g.d;
    } else {
        const std::size_t intLen = static_cast<std::size_t>(e) + 1;
        if (g.d.size() <= intLen) {
            out += g.d + std::string(intLen - g.d.size(), '0');
        } else {
            out += g.d.substr(0, intLen) + "." + g.d.substr(intLen);
        }
    }
    return out;
}

// ---- Format ---------------------------------------------------------------

struct Item {
    enum Kind { Literal, IntDigit, Point, FracDigit, ExpMark, ExpDigit } kind;
    std::string text;   // literal text, or the exponent letter
    int index = 0;      // placeholder number within its part
};

struct Section {
    std::vector<Item> items;
    int nInt = 0, nIntZeros = 0, firstIntZero = -1;
    int nFrac = 0, lastFracZero = -1;
    int expZeros = 0;
    bool point = false, grouping = false, sci = false, expPlus = false;
    int scaleThousands = 0, percent = 0;
};

bool IsDigitPlaceholder(char c) { return c == '0' || c == '#'; }

Section ParseSection(std::string_view p) {
    Section s;
    auto literal = [&s](std::string text) {
        if (!s.items.empty() && s.items.back().kind == Item::Literal) {
            s.items.back().text += text;
        } else {
            s.items.push_back({Item::Literal, std::move(text), 0});
        }
    };
    // Quoted text and \x escapes are literals; true when c starts one.
    auto quoted = [&](char c, std::size_t& i) {
        if (c == '\\' && i + 1 < p.size()) {
            literal(std::string(1, p[++i]));
            return true;
        }
        if (c != '"') return false;
        const std::size_t end = p.find('"', i + 1);
        literal(std::string(p.substr(i + 1, end == std::string_view::npos ? end : end - i - 1)));
        i = end == std::string_view::npos ? p.size() : end;
        return true;
    };
    bool inExp = false, afterExp = false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char c = p[i];
        if (inExp) {
            if (IsDigitPlaceholder(c)) {
                if (c == '0') ++s.expZeros;
                s.items.push_back({Item::ExpDigit, "", 0});
                continue;
            }
            inExp = false;
            afterExp = true;
        }
        if (afterExp) {
            if (!quoted(c, i)) literal(std::string(1, c));
            continue;
        }
        if (IsDigitPlaceholder(c)) {
            if (s.point) {
                if (c == '0') s.lastFracZero = s.nFrac;
                s.items.push_back({Item::FracDigit, "", s.nFrac++});
            } else {
                if (c == '0') {
                    if (s.firstIntZero < 0) s.firstIntZero = s.nInt;
                    ++s.nIntZeros;
                }
                s.items.push_back({Item::IntDigit, "", s.nInt++});
            }
        } else if (c == '.' && !s.point) {
            s.point = true;
            s.items.push_back({Item::Point, ".", 0});
        } else if (c == ',' && !s.point && s.nInt > 0) {
            std::size_t j = i;
            while (j < p.size() && p[j] == ',') ++j;
            if (j < p.size() && IsDigitPlaceholder(p[j])) {
                s.grouping = true;
            } else {
                // Commas after the last integer placeholder divide by 1000 each.
                s.scaleThousands += static_cast<int>(j - i);
            }
            i = j - 1;
        } else if ((c == 'E' || c == 'e') && i + 2 < p.size() && (p[i + 1] == '+' || p[i + 1] == '-') &&
                   IsDigitPlaceholder(p[i + 2])) {
            s.sci = true;
            s.expPlus = p[i + 1] == '+';
            s.items.push_back({Item::ExpMark, std::string(1, c), 0});
            inExp = true;
            ++i;
        } else if (c == '%') {
            ++s.percent;
            literal("%");
        } else if (!quoted(c, i)) {
            literal(std::string(1, c));
        }
    }
    return s;
}

// Writes the items of s with the integer digits intStr, fraction digits fracStr
// and the exponent text expText.
std::string Render(const Section& s, const std::string& intStr, const std::string& fracStr,
                   const std::string& expText) {
    const int k = static_cast<int>(intStr.size());
    std::string out;
    auto putDigit = [&](int j) {
        out.push_back(intStr[static_cast<std::size_t>(j)]);
        if (s.grouping && j < k - 1 && (k - 1 - j) % 3 == 0) out.push_back(',');
    };
    int lastShown = s.lastFracZero;
    for (int q = 0; q < static_cast<int>(fracStr.size()); ++q)
        if (fracStr[static_cast<std::size_t>(q)] != '0') lastShown = std::max(lastShown, q);
    bool expDone = false;
    for (const Item& it : s.items) {
        switch (it.kind) {
        case Item::Literal:
            out += it.text;
            break;
        case Item::IntDigit:
            if (it.index == 0) {
                for (int j = 0; j <= k - s.nInt; ++j) putDigit(j);
            } else {
                const int j = it.index - (s.nInt - k);
                if (j >= 0 && j < k) putDigit(j);
            }
            break;
        case Item::Point:
            if (s.nInt == 0)
                for (int j = 0; j < k; ++j) putDigit(j);
            out.push_back('.');
            break;
        case Item::FracDigit:
            if (it.index <= lastShown) out.push_back(fracStr[static_cast<std::size_t>(it.index)]);
            break;
        case Item::ExpMark:
            out += it.text;
            break;
        case Item::ExpDigit:
            if (!expDone) out += expText;
            expDone = true;
            break;
        }
    }
    return out;
}

std::string FormatSection(double v, const Section& s) {
    if (s.nInt == 0 && s.nFrac == 0 && !s.point) return Render(s, "", "", "");
    double scaled = v;
    for (int i = 0; i < s.percent; ++i) scaled *= 100.0;
    for (int i = 0; i < s.scaleThousands; ++i) scaled /= 1000.0;
    // A scaling past the largest double moves the decimal point instead.
    int shift = 0;
    if (!std::isfinite(scaled)) {
        shift = 2 * s.percent - 3 * s.scaleThousands;
        scaled = v;
    }
    v = scaled;
    Digits d = DecimalDigits(v, true);
    d.exp10 += shift;
    const bool zero = v == 0.0;
    std::string digits;
    if (s.sci) {
        const int intDigits = std::max(s.nIntZeros, s.nInt > 0 ? 1 : 0);
        const int n = intDigits + s.nFrac;
        int e = zero ? 0 : d.exp10 - (intDigits - 1);
        if (RoundDigits(d.d, n, digits)) {
            digits.pop_back();
            ++e;
        }
        const std::string intStr = digits.substr(0, static_cast<std::size_t>(intDigits));
        const std::string fracStr = digits.substr(static_cast<std::size_t>(intDigits));
        return Render(s, intStr, fracStr, ExponentText(e, s.expPlus, static_cast<std::size_t>(s.expZeros)));
    }
    // round(v * 10^nFrac) as a digit string.
    if (zero) {
        digits = "0";
    } else {
        const long keep = static_cast<long>(d.exp10) + s.nFrac + 1;
        RoundDigits(d.d, keep, digits);
        if (digits.empty()) digits = "0";
    }
    const std::size_t nFrac = static_cast<std::size_t>(s.nFrac);
    if (digits.size() < nFrac + 1) digits.insert(0, nFrac + 1 - digits.size(), '0');
    std::string intStr = digits.substr(0, digits.size() - nFrac);
    const std::string fracStr = digits.substr(digits.size() - nFrac);
    const std::size_t nz = intStr.find_first_not_of('0');
    intStr = nz == std::string::npos ? "" : intStr.substr(nz);
    if (s.firstIntZero >= 0) {
        const std::size_t minLen = static_cast<std::size_t>(s.nInt - s.firstIntZero);
        if (intStr.size() < minLen) intStr.insert(0, minLen - intStr.size(), '0');
    }
    return Render(s, intStr, fracStr, "");
}

// Splits a pattern at ';' outside quotes and escapes.
std::vector<std::string_view> SplitSections(std::string_view p) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] == '"') {
            quoted = !quoted;
        } else if (p[i] == '\\' && !quoted) {
            ++i;
        } else if (p[i] == ';' && !quoted) {
            parts.push_back(p.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(p.substr(std::min(start, p.size())));
    return parts;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        const char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y) return false;
    }
    return true;
}

std::string TwoDigits(int v) {
    if (v >= 0 && v < 10) return "0" + std::to_string(v);
    return std::to_string(v);
}

}  // namespace

// ---- Conversions ----------------------------------------------------------

double Val(std::string_view s) {
    std::size_t i = 0;
    auto skip = [&] {
        while (i < s.size() && IsValBlank(s[i])) ++i;
    };
    skip();
    if (i + 1 < s.size() && s[i] == '&') {
        const char r = s[i + 1];
        if (r == 'H' || r == 'h') return RadixVal(s, i + 2, 16);
        if (r == 'O' || r == 'o') return RadixVal(s, i + 2, 8);
        return 0.0;
    }
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    std::string intPart, fracPart;
    bool point = false;
    for (;; ++i) {
        skip();
        if (i >= s.size()) break;
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            (point ? fracPart : intPart).push_back(c);
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (intPart.empty() && fracPart.empty()) return 0.0;
    std::string text = intPart.empty() ? "0" : intPart;
    if (!fracPart.empty()) text += "." + fracPart;
    // An exponent counts only when at least one digit follows the letter.
    skip();
    bool negExp = false;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        ++i;
        skip();
        std::string expText;
        if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
            negExp = s[i] == '-';
            expText.push_back(s[i]);
            ++i;
        }
        std::string expDigits;
        for (;; ++i) {
            skip();
            if (i >= s.size() || s[i] < '0' || s[i] > '9') break;
            expDigits.push_back(s[i]);
        }
        if (!expDigits.empty()) text += "e" + (negExp ? std::string("-") : std::string()) + expDigits;
        else negExp = false;
    }
    double v = 0.0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        v = negExp ? 0.0 : HUGE_VAL;
    }
    return negative ? -v : v;
}

bool IsNumeric(std::string_view text) {
    std::string t = Trim(text);
    std::size_t i = 0;
    auto digits = [&] {
        std::size_t start = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
        return i - start;
    };
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t n = digits();
    if (i < t.size() && t[i] == '.') {
        ++i;
        n += digits();
    }
    if (n == 0) return false;
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        if (digits() == 0) return false;
    }
    return i == t.size() && std::isfinite(Val(t));
}

std::optional<double> NumericField(std::string_view text) {
    const std::string t = Trim(text);
    if (t.empty() || !IsNumeric(t)) return std::nullopt;
    return Val(t);
}

namespace {
// Rounds half to even; nullopt outside [lo, hi] or when not finite.
std::optional<long long> RoundEven(double x, long long lo, long long hi) {
    if (!std::isfinite(x)) return std::nullopt;
    if (x < static_cast<double>(lo) - 1.0 || x > static_cast<double>(hi) + 1.0) return std::nullopt;
    double r = std::floor(x);
    const double diff = x - r;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
    const long long v = static_cast<long long>(r);
    if (v < lo || v > hi) return std::nullopt;
    return v;
}
}  // namespace

std::optional<int> CInt(double x) {
    const auto v = RoundEven(x, -32768, 32767);
    if (!v) return std::nullopt;
    return static_cast<int>(*v);
}

std::optional<std::int32_t> CLng(double x) {
    const auto v = RoundEven(x, INT32_MIN, INT32_MAX);
    if (!v) return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

double Int(double x) { return std::floor(x); }
double Fix(double x) { return std::trunc(x); }
int Sgn(double x) { return x > 0 ? 1 : (x < 0 ? -1 : 0); }

std::string Str(double x) {
    const std::string t = NumberText(x, false);
    return x >= 0 || std::isnan(x) ? " " + t : t;
}
std::string CStr(double x) { return NumberText(x, true); }
std::string Str(long long x) { return x >= 0 ? " " + std::to_string(x) : std::to_string(x); }
std::string CStr(long long x) { return std::to_string(x); }

// ---- Strings --------------------------------------------------------------

std::string LTrim(std::string_view s) {
    const std::size_t b = s.find_first_not_of(' ');
    return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string RTrim(std::string_view s) {
    const std::size_t e = s.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string Trim(std::string_view s) { return LTrim(RTrim(s)); }

std::string Mid(std::string_view s, long start) { return Mid(s, start, Len(s)); }

std::string Mid(std::string_view s, long start, long length) {
    if (start < 1) start = 1;
    if (length <= 0 || start > Len(s)) return std::string();
    const std::size_t from = static_cast<std::size_t>(start - 1);
    return std::string(s.substr(from, std::min(static_cast<std::size_t>(length), s.size() - from)));
}

std::string Left(std::string_view s, long length) {
    if (length <= 0) return std::string();
    return std::string(s.substr(0, std::min(static_cast<std::size_t>(length), s.size())));
}

std::string Right(std::string_view s, long length) {
    if (length <= 0) return std::string();
    const std::size_t n = std::min(static_cast<std::size_t>(length), s.size());
    return std::string(s.substr(s.size() - n));
}

long Len(std::string_view s) { return static_cast<long>(s.size()); }

long InStr(std::string_view s, std::string_view find) { return InStr(1, s, find); }

long InStr(long start, std::string_view s, std::string_view find) {
    if (start < 1) start = 1;
    if (s.empty() || start > Len(s)) return 0;
    if (find.empty()) return start;
    const std::size_t pos = s.find(find, static_cast<std::size_t>(start - 1));
    return pos == std::string_view::npos ? 0 : static_cast<long>(pos) + 1;
}

std::string UCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

std::string LCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::string Chr(int code) {
    if (code < 0 || code > 255) return std::string();
    return std::string(1, static_cast<char>(static_cast<unsigned char>(code)));
}

int Asc(std::string_view s) { return s.empty() ? 0 : static_cast<unsigned char>(s[0]); }

std::string Space(long n) { return n > 0 ? std::string(static_cast<std::size_t>(n), ' ') : std::string(); }

std::string String(long n, char c) { return n > 0 ? std::string(static_cast<std::size_t>(n), c) : std::string(); }

// ---- Format ---------------------------------------------------------------

std::string Format(double x) { return CStr(x); }

std::string Format(double x, std::string_view pattern) {
    if (!std::isfinite(x)) return CStr(x);
    if (pattern.empty() || EqualsNoCase(pattern, "General Number")) return CStr(x);
    if (EqualsNoCase(pattern, "Fixed")) return Format(x, "0.00");
    if (EqualsNoCase(pattern, "Standard")) return Format(x, "#,##0.00");
    if (EqualsNoCase(pattern, "Percent")) return Format(x, "0.00%");
    if (EqualsNoCase(pattern, "Scientific")) return Format(x, "0.00E+00");
    if (EqualsNoCase(pattern, "Yes/No")) return x != 0 ? "Yes" : "No";
    if (EqualsNoCase(pattern, "True/False")) return x != 0 ? "True" : "False";
    if (EqualsNoCase(pattern, "On/Off")) return x != 0 ? "On" : "Off";

    const std::vector<std::string_view> parts = SplitSections(pattern);
    // Empty negative or zero sections fall back to the first one.
    if (x < 0 && parts.size() >= 2 && !parts[1].empty()) return FormatSection(-x, ParseSection(parts[1]));
    if (x == 0 && parts.size() >= 3 && !parts[2].empty()) return FormatSection(0.0, ParseSection(parts[2]));
    const std::string body =
        parts[0].empty() ? CStr(std::fabs(x)) : FormatSection(std::fabs(x), ParseSection(parts[0]));
    // The minus sign goes in front of everything, even when the value rounds to 0.
    return x < 0 ? "-" + body : body;
}

std::string Format(std::string_view text, std::string_view pattern) {
    const std::string t = Trim(text);
    // Only decimal numbers count: from_chars would also read "INF" or "NAN",
    // which are fuse codes here.
    if (t.find_first_of("0123456789") == std::string::npos ||
        t.find_first_not_of("0123456789.+-eE") != std::string::npos)
        return std::string(text);
    double v = 0.0;
    std::size_t start = t[0] == '-' || t[0] == '+' ? 1 : 0;
    const auto res = std::from_chars(t.data() + start, t.data() + t.size(), v);
    if (start == t.size() || res.ec != std::errc() || res.ptr != t.data() + t.size()) return std::string(text);
    return Format(t[0] == '-' ? -v : v, pattern);
}

// ---- Dates and colours ----------------------------------------------------

std::string DateText(const std::tm& t) {
    std::string year = std::to_string(t.tm_year + 1900);
    if (year.size() < 4) year.insert(0, 4 - year.size(), '0');
    return TwoDigits(t.tm_mon + 1) + "-" + TwoDigits(t.tm_mday) + "-" + year;
}

std::string TimeText(const std::tm& t) {
    return TwoDigits(t.tm_hour) + ":" + TwoDigits(t.tm_min) + ":" + TwoDigits(t.tm_sec);
}

std::string DateTimeFileName(const std::tm& t, std::string_view ext) {
    return TwoDigits(t.tm_mon + 1) + TwoDigits(t.tm_mday) + TwoDigits(t.tm_hour) + TwoDigits(t.tm_min) +
           std::string(ext);
}

std::int32_t QBColor(int n) {
    static constexpr std::int32_t kPalette[16] = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    return kPalette[std::clamp(n, 0, 15)];
}

std::int32_t RGB(int r, int g, int b) {
    r = std::clamp(r, 0, 255);
    g = std::clamp(g, 0, 255);
    b = std::clamp(b, 0, 255);
    return r + 256 * g + 65536 * b;
}

std::uint64_t PhysicalMemoryBytes() {
    const long pages = sysconf(_SC_PHYS_PAGES), size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || size <= 0) return 0;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(size);
}

}  // namespace platform
