// Random and mutated settings files, and the checks one such file must pass: read by the settings
// record, simulated for ten frames, shown by the settings dialog and saved again. Shared by the unit
// tests (a few thousand cases with a fixed seed) and the fuzz program (bench/FuzzSettings).
#pragma once

#include <cstdint>
#include <string>

class SettingsFuzzer {
public:
    explicit SettingsFuzzer(std::uint64_t seed) : state_(seed) {}

    // The bytes of the next settings file: random bytes, or sections and keys (ours and others, in any
    // case, order and number) with numbers of every size, infinities, NaNs and junk, very long lines,
    // in 8-bit text, UTF-8 or UTF-16 with byte-order marks, mutated byte by byte or not.
    std::string NextFile();

private:
    std::uint64_t Next();
    std::size_t Below(std::size_t bound) { return bound == 0 ? 0 : static_cast<std::size_t>(Next() % bound); }
    bool Chance(int percent) { return Below(100) < static_cast<std::size_t>(percent); }
    std::string RandomBytes(std::size_t length);
    std::string Value();
    std::string Structured();
    void Mutate(std::string& bytes);
    std::string Encode(const std::string& text);

    std::uint64_t state_;
};

// Runs one file through everything that reads it; empty when all went well, else what went wrong.
// A crash or an out-of-range index shows as the program's end (the fuzz program's exit code).
std::string CheckSettingsFile(const std::string& bytes);
