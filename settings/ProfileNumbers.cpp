// Locale-free number texts of the settings file.
#include "settings/ProfileNumbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

std::wstring Widen(const char* first, const char* last) {
    return std::wstring(first, last);
}

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Length of the longest prefix that has the shape digits[.digits][e[sign]digits], or of an
// infinity or NaN word; 0 when there is no number.
std::size_t NumberLength(std::wstring_view s) {
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == L'.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        for (std::wstring_view word : {L"infinity", L"inf", L"nan"}) {
            if (s.size() >= word.size()) {
                bool same = true;
                for (std::size_t k = 0; k < word.size(); ++k) {
                    same = same && (s[k] | 0x20) == word[k];
                }
                if (same) {
                    return word.size();
                }
            }
        }
        return 0;
    }
    if (i < s.size() && (s[i] == L'e' || s[i] == L'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == L'+' || s[j] == L'-')) {
            ++j;
        }
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) {
                ++j;
            }
            i = j;
        }
    }
    return i;
}

} // namespace

std::wstring FormatProfileInt(std::int32_t value) {
    char buffer[16];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return Widen(buffer, result.ptr);
}

std::wstring FormatProfileReal(double value) {
    if (std::isnan(value)) {
        return std::signbit(value) ? L"-nan" : L"nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? L"-inf" : L"inf";
    }
    // The largest double has 309 integer digits; with the sign, point and six decimals it fits.
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return Widen(buffer, result.ptr);
}

double ParseProfileReal(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    std::wstring_view rest = text.substr(i);
    std::size_t length = NumberLength(rest);
    if (length == 0) {
        return 0.0;
    }
    std::string narrow(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(length));
    double value = 0.0;
    auto result = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range is either an overflow (a positive exponent) or an underflow.
        std::size_t e = narrow.find_first_of("eE");
        bool underflow = e != std::string::npos && e + 1 < narrow.size() && narrow[e + 1] == '-';
        value = underflow ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::int32_t ParseProfileInt(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] <= L' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    std::uint32_t base = 10;
    if (i + 1 < text.size() && text[i] == L'0') {
        switch (text[i + 1]) {
        case L'x':
            base = 16;
            break;
        case L'o':
            base = 8;
            break;
        case L'b':
            base = 2;
            break;
        default:
            break;
        }
        if (base != 10) {
            i += 2;
        }
    }
    std::uint32_t total = 0;
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        std::uint32_t digit = 36;
        if (c >= L'0' && c <= L'9') {
            digit = static_cast<std::uint32_t>(c - L'0');
        } else if (c >= L'a' && c <= L'z') {
            digit = static_cast<std::uint32_t>(c - L'a' + 10);
        } else if (c >= L'A' && c <= L'Z') {
            digit = static_cast<std::uint32_t>(c - L'A' + 10);
        }
        if (digit >= base) {
            break;
        }
        total = total * base + digit;
    }
    return static_cast<std::int32_t>(negative ? 0u - total : total);
}
