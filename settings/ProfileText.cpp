// An initialisation file's text, read and edited line by line.
#include "settings/ProfileText.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// The private-profile functions count Ctrl+Z, an old end-of-file mark, as white space too.
bool IsSpace(wchar_t c) {
    return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0x1A;
}

wchar_t FoldCase(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::wstring_view Trim(std::wstring_view s) {
    while (!s.empty() && IsSpace(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsSpace(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}

std::wstring Widen16(std::string_view bytes, bool bigEndian) {
    std::wstring text(bytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return text;
}

} // namespace

ProfileText ProfileText::FromBytes(std::string_view bytes) {
    ProfileText result;
    if (bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom)) {
        const bool bigEndian = bytes.starts_with(kUtf16BeBom);
        result.encoding_ = bigEndian ? ProfileEncoding::Utf16Be : ProfileEncoding::Utf16Le;
        result.text_ = Widen16(bytes.substr(2), bigEndian);
        if (bytes.size() % 2 != 0) {
            result.oddByte_.assign(1, bytes.back());
        }
        return result;
    }
    if (bytes.starts_with(kUtf8Bom)) {
        // The names and numbers this program reads are ASCII, which UTF-8 leaves as it is.
        result.encoding_ = ProfileEncoding::Utf8;
        bytes.remove_prefix(kUtf8Bom.size());
    }
    result.text_.reserve(bytes.size());
    for (char byte : bytes) {
        result.text_.push_back(static_cast<wchar_t>(static_cast<unsigned char>(byte)));
    }
    return result;
}

std::string ProfileText::ToBytes() const {
    std::string bytes;
    switch (encoding_) {
    case ProfileEncoding::Utf16Le:
    case ProfileEncoding::Utf16Be: {
        const bool bigEndian = encoding_ == ProfileEncoding::Utf16Be;
        bytes.reserve(2 + 2 * text_.size());
        bytes += bigEndian ? kUtf16BeBom : kUtf16LeBom;
        for (wchar_t c : text_) {
            const char high = static_cast<char>((c >> 8) & 0xFF);
            const char low = static_cast<char>(c & 0xFF);
            bytes.push_back(bigEndian ? high : low);
            bytes.push_back(bigEndian ? low : high);
        }
        return bytes + oddByte_;
    }
    case ProfileEncoding::Utf8:
        bytes += kUtf8Bom;
        [[fallthrough]];
    case ProfileEncoding::Ansi:
        bytes.reserve(bytes.size() + text_.size());
        for (wchar_t c : text_) {
            bytes.push_back(static_cast<char>(c & 0xFF));
        }
        return bytes;
    }
    return bytes;
}

std::vector<ProfileText::Line> ProfileText::Lines() const {
    std::vector<Line> lines;
    const std::wstring_view text = text_;
    std::size_t begin = 0;
    while (begin < text.size()) {
        Line line;
        line.begin = begin;
        // A line ends at a carriage return, a line feed, or both together.
        const std::size_t lineBreak = text.find_first_of(L"\r\n", begin);
        line.end = lineBreak == std::wstring_view::npos ? text.size() : lineBreak;
        line.next = lineBreak == std::wstring_view::npos ? text.size() : lineBreak + 1;
        if (lineBreak != std::wstring_view::npos && text[lineBreak] == L'\r' && line.next < text.size() &&
            text[line.next] == L'\n') {
            ++line.next;
        }
        std::size_t first = begin;
        while (first < line.end && IsSpace(text[first])) {
            ++first;
        }
        std::size_t last = line.end;
        while (last > first && IsSpace(text[last - 1])) {
            --last;
        }
        const std::wstring_view content = text.substr(first, last - first);
        line.blank = content.empty();
        const std::size_t closing = content.rfind(L']');
        if (content.starts_with(L'[') && closing != std::wstring_view::npos) {
            line.section = true;
            line.name = Trim(content.substr(1, closing - 1));
        } else if (const std::size_t equals = content.find(L'='); equals != std::wstring_view::npos) {
            line.name = Trim(content.substr(0, equals));
            std::size_t valueBegin = first + equals + 1;
            while (valueBegin < last && IsSpace(text[valueBegin])) {
                ++valueBegin;
            }
            line.hasValue = true;
            line.valueBegin = valueBegin;
            line.valueEnd = last;
        } else {
            line.name = content;
        }
        // A name ends at a NUL character, as a C string would.
        line.name = line.name.substr(0, line.name.find(L'\0'));
        lines.push_back(line);
        begin = line.next;
    }
    return lines;
}

std::size_t ProfileText::FindSection(const std::vector<Line>& lines, std::wstring_view section) {
    const std::wstring_view wanted = Trim(section);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].section && SameName(lines[i].name, wanted)) {
            return i;
        }
    }
    return lines.size();
}

std::optional<std::wstring> ProfileText::Find(std::wstring_view section, std::wstring_view key) const {
    const std::vector<Line> lines = Lines();
    const std::wstring_view wantedKey = Trim(key);
    // Only the first section of that name counts, as with the private-profile functions.
    for (std::size_t i = FindSection(lines, section) + 1; i < lines.size() && !lines[i].section; ++i) {
        const Line& line = lines[i];
        if (line.blank || !SameName(line.name, wantedKey)) {
            continue;
        }
        if (!line.hasValue) {
            return std::nullopt;
        }
        std::wstring_view value(text_.data() + line.valueBegin, line.valueEnd - line.valueBegin);
        value = value.substr(0, value.find(L'\0'));
        if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return std::wstring(value);
    }
    return std::nullopt;
}

void ProfileText::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    const std::vector<Line> lines = Lines();
    const std::wstring_view wantedKey = Trim(key);
    const std::size_t sectionLine = FindSection(lines, section);
    const auto breakAfter = [&](std::size_t position) {
        // A last line without a line break gets one before anything is added after it.
        return position == text_.size() && !text_.empty() && text_.back() != L'\n' && text_.back() != L'\r'
                   ? L"\r\n"
                   : L"";
    };
    if (sectionLine == lines.size()) {
        const std::wstring added = std::wstring(breakAfter(text_.size())) + L"[" + std::wstring(Trim(section)) +
                                   L"]\r\n" + std::wstring(wantedKey) + L"=" + std::wstring(value) + L"\r\n";
        text_ += added;
        return;
    }
    std::size_t lastEntry = sectionLine;
    for (std::size_t i = sectionLine + 1; i < lines.size() && !lines[i].section; ++i) {
        const Line& line = lines[i];
        if (line.blank) {
            continue;
        }
        lastEntry = i;
        if (SameName(line.name, wantedKey)) {
            // The key keeps its own spelling; everything from its "=" on is the new value.
            const std::size_t nameEnd = line.hasValue ? text_.find(L'=', line.begin) : line.end;
            std::wstring replaced = text_.substr(line.begin, nameEnd - line.begin);
            while (!replaced.empty() && IsSpace(replaced.back())) {
                replaced.pop_back();
            }
            replaced += L"=";
            replaced += value;
            text_.replace(line.begin, line.end - line.begin, replaced);
            return;
        }
    }
    const std::size_t at = lines[lastEntry].next;
    text_.insert(at, std::wstring(breakAfter(at)) + std::wstring(wantedKey) + L"=" + std::wstring(value) + L"\r\n");
}
