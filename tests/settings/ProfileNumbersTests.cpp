// Number texts of the settings file, written and read without the locale.
#include "settings/ProfileNumbers.h"

#include <doctest/doctest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

TEST_SUITE("settings") {

TEST_CASE("ProfileNumbers: integers are plain decimal text") {
    CHECK(FormatProfileInt(1920) == L"1920");
    CHECK(FormatProfileInt(0) == L"0");
    CHECK(FormatProfileInt(-42) == L"-42");
    CHECK(FormatProfileInt(INT32_MIN) == L"-2147483648");
    CHECK(FormatProfileInt(INT32_MAX) == L"2147483647");
}

TEST_CASE("ProfileNumbers: reals have exactly six decimals and no exponent") {
    CHECK(FormatProfileReal(0.2) == L"0.200000");
    CHECK(FormatProfileReal(0.02) == L"0.020000");
    CHECK(FormatProfileReal(1.5) == L"1.500000");
    CHECK(FormatProfileReal(0.29) == L"0.290000");
    CHECK(FormatProfileReal(-0.125) == L"-0.125000");
    CHECK(FormatProfileReal(1234567.0) == L"1234567.000000");
    CHECK(FormatProfileReal(1e-9) == L"0.000000");
    CHECK(FormatProfileReal(0.0000015) == L"0.000002"); // rounds like printf
    CHECK(FormatProfileReal(1e20) == L"100000000000000000000.000000");
    CHECK(FormatProfileReal(std::numeric_limits<double>::max()).size() == 309 + 7);
}

TEST_CASE("ProfileNumbers: every hundredth survives a text round trip") {
    for (int i = -200; i <= 200; ++i) {
        double value = i / 100.0;
        CHECK(ParseProfileReal(FormatProfileReal(value)) == value);
    }
}

TEST_CASE("ProfileNumbers: reading follows the standard string-to-double rules") {
    struct Case {
        const wchar_t* text;
        double value;
    };
    const Case cases[] = {
        {L"0.35xyz", 0.35}, {L"", 0.0},         {L"abc", 0.0},     {L"  \t1.25", 1.25}, {L"-0.5", -0.5},
        {L"+2", 2.0},       {L"1e2", 100.0},    {L"1E-2", 0.01},   {L"1e", 1.0},        {L"1e+", 1.0},
        {L".5", 0.5},       {L"5.", 5.0},       {L".", 0.0},       {L"-", 0.0},         {L"0,75", 0.0},
        {L"1.5.6", 1.5},    {L"1e-400", 0.0},   {L"- 1", 0.0},     {L"0x10", 0.0},      {L"12 34", 12.0},
    };
    for (const Case& c : cases) {
        INFO("text: ", std::string(c.text, c.text + std::wstring(c.text).size()));
        CHECK(ParseProfileReal(c.text) == doctest::Approx(c.value).epsilon(1e-15));
    }
    CHECK(std::isinf(ParseProfileReal(L"1e999")));
    CHECK(ParseProfileReal(L"-1e999") < 0);
    CHECK(std::isinf(ParseProfileReal(L"inf")));
    CHECK(std::isinf(ParseProfileReal(L"-Infinity")));
    CHECK(std::isnan(ParseProfileReal(L"nan")));
    // A thousand digits are still read to the end.
    CHECK(ParseProfileReal(std::wstring(1000, L'9')) > 1e300);
}

TEST_CASE("ProfileNumbers: a comma locale changes nothing") {
    const char* german = std::setlocale(LC_ALL, "German_Germany.1252");
    REQUIRE(german != nullptr);
    char check[16];
    std::snprintf(check, sizeof check, "%.1f", 0.5);
    REQUIRE(std::string(check) == "0,5"); // the C runtime really uses the comma now
    CHECK(FormatProfileReal(0.29) == L"0.290000");
    CHECK(ParseProfileReal(L"0.35") == 0.35);
    CHECK(ParseProfileReal(L"0,35") == 0.0);
    std::setlocale(LC_ALL, "C");
}
}
