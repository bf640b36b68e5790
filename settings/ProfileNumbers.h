// Number texts of the settings file: "%d" and "%lf" with a "." decimal point, never the locale's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Decimal digits with a leading minus for negative values ("%d").
std::wstring FormatProfileInt(std::int32_t value);

// Fixed-point with exactly six decimals and no exponent ("%lf"): 0.29 -> "0.290000".
std::wstring FormatProfileReal(double value);

// The standard string-to-double reading: leading white space, an optional sign, digits with an
// optional fraction and exponent, stopping at the first character that does not fit; no number
// at all gives 0.0. Values too large for a double give an infinity, values too small zero.
double ParseProfileReal(std::wstring_view text);

// The integer reading of the private-profile functions: leading white space, an optional sign, an
// optional "0x", "0o" or "0b" base prefix, then digits up to the first one that does not fit,
// accumulated modulo 2^32 (so an overlong number wraps as it does there); no digits give 0.
std::int32_t ParseProfileInt(std::wstring_view text);
