// The text of an initialisation file, read and edited as the Windows private-profile functions do
// for the entries this program keeps, while every other line stays exactly as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class ProfileEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

class ProfileText {
public:
    // An empty file.
    ProfileText() = default;
    // The file's bytes: UTF-16 (either byte order) and UTF-8 when they start with a byte-order mark,
    // else 8-bit text. Any bytes are accepted; nothing is lost when they are written back.
    static ProfileText FromBytes(std::string_view bytes);
    // The file's bytes in the encoding it was read in (a new file is 8-bit text).
    std::string ToBytes() const;

    // The value of the first key of that name in the first section of that name, both matched
    // without regard to letter case and surrounding white space; the value's surrounding white
    // space and a pair of enclosing quotes are taken off. Nothing when the section, the key or the
    // key's "=" is missing.
    std::optional<std::wstring> Find(std::wstring_view section, std::wstring_view key) const;
    // Replaces that value, or adds the key at the end of the section's entries, or adds the section
    // with the key at the end of the file.
    void Set(std::wstring_view section, std::wstring_view key, std::wstring_view value);

    ProfileEncoding Encoding() const { return encoding_; }

private:
    struct Line {
        std::size_t begin = 0;     // first character of the line
        std::size_t end = 0;       // one past its last character, before the line break
        std::size_t next = 0;      // first character of the following line
        bool section = false;      // a "[name]" line
        bool blank = false;        // nothing but white space
        std::wstring_view name;    // the section's or the key's name, trimmed
        std::size_t valueBegin = 0; // the value (trimmed) of a key line with "="; empty otherwise
        std::size_t valueEnd = 0;
        bool hasValue = false;
    };
    std::vector<Line> Lines() const;
    // Index of the first section line with that name, or lines.size().
    static std::size_t FindSection(const std::vector<Line>& lines, std::wstring_view section);

    ProfileEncoding encoding_ = ProfileEncoding::Ansi;
    // 8-bit files keep one character per byte here, so that writing them back restores every byte.
    std::wstring text_;
    // The odd last byte of a UTF-16 file, written back as it was.
    std::string oddByte_;
};
