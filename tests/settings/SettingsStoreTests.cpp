// Where the settings are kept and how they are written, over real files: the user's own file first,
// a program folder that cannot be written, both failing, a disk that fails half-way; the file's text
// read exactly as the private-profile functions read it; and fuzzed settings files.
#include "settings/CSettingImpl.h"
#include "settings/ProfileNumbers.h"
#include "settings/ProfileText.h"

#include "support/SettingsFuzzer.h"
#include "support/TempFolder.h"

#include <windows.h>

#include <doctest/doctest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// The record's twelve values as the private-profile functions read them: the reference for ours.
std::vector<double> ReadThroughProfileFunctions(const std::wstring& file) {
    std::vector<double> values;
    const wchar_t* ints[][2] = {{L"Screen", L"Width"}, {L"Screen", L"Height"}, {L"Triangle", L"Texture"},
                                {L"Triangle", L"Size"}, {L"Piece", L"Count"}};
    const int intDefaults[] = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 1, 96, 50};
    for (int i = 0; i < 5; ++i) {
        values.push_back(static_cast<std::int32_t>(
            GetPrivateProfileIntW(ints[i][0], ints[i][1], intDefaults[i], file.c_str())));
    }
    const wchar_t* reals[][3] = {{L"Piece", L"ScaleMin", L"0.200000"}, {L"Piece", L"ScaleMax", L"1.000000"},
                                 {L"Speed", L"Rotation", L"0.020000"}, {L"Speed", L"Shake", L"0.100000"},
                                 {L"Speed", L"Light", L"0.100000"},    {L"Light", L"Strength", L"1.500000"},
                                 {L"Light", L"Area", L"0.500000"}};
    for (const auto& real : reals) {
        wchar_t buffer[1024] = {};
        const DWORD length = GetPrivateProfileStringW(real[0], real[1], real[2], buffer, 1024, file.c_str());
        values.push_back(ParseProfileReal(std::wstring_view(buffer, length)));
    }
    return values;
}

std::vector<double> ValuesOf(const CSettingImpl& s) {
    return {double(s.ScreenWidth),  double(s.ScreenHeight), double(s.TriangleTexture), double(s.TriangleSize),
            double(s.PieceCount),   s.PieceScaleMin,        s.PieceScaleMax,           s.SpeedRotation,
            s.SpeedShake,           s.SpeedLight,           s.LightStrength,           s.LightArea};
}

bool SameValues(const std::vector<double>& a, const std::vector<double>& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!(a[i] == b[i] || (std::isnan(a[i]) && std::isnan(b[i])))) {
            return false;
        }
    }
    return a.size() == b.size();
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                names.push_back(found.cFileName);
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return names;
}

// A disk that writes the first half of a file and then fails, or fails when the new file would take
// the old one's place.
class FailingDisk : public Win32SettingsDisk {
public:
    enum class Step { Write, Replace };
    explicit FailingDisk(Step step) : step_(step) {}
    HRESULT Write(const std::wstring& file, std::string_view bytes) override {
        if (step_ != Step::Write) {
            return Win32SettingsDisk::Write(file, bytes);
        }
        Win32SettingsDisk::Write(file, bytes.substr(0, bytes.size() / 2));
        return HRESULT_FROM_WIN32(ERROR_DISK_FULL);
    }
    HRESULT Replace(const std::wstring& from, const std::wstring& to) override {
        return step_ == Step::Replace ? HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION)
                                      : Win32SettingsDisk::Replace(from, to);
    }

private:
    Step step_;
};

// The bytes of a string literal, NULs included.
template <std::size_t N> std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

const std::string kOldFile = "; kept by hand\r\n[Piece]\r\nCount=7\r\n[Other]\r\nKeep=yes\r\n";

} // namespace

TEST_SUITE("settings") {

TEST_CASE("Settings store: the user's own file is read whenever it exists, and written while it exists") {
    TempFolder program;
    TempFolder user;
    const SettingsLocations places{program / L"Vitrelle.ini", user / L"Vitrelle\\Vitrelle.ini"};
    WriteBytes(places.programFile, "[Piece]\r\nCount=11\r\n");
    CSettingImpl beside(places, RealSettingsDisk());
    CHECK(beside.PieceCount == 11);
    CHECK(beside.FileName() == places.programFile);

    CreateDirectoryW((user / L"Vitrelle").c_str(), nullptr);
    WriteBytes(places.userFile, "[Piece]\r\nCount=22\r\n");
    CSettingImpl s(places, RealSettingsDisk());
    CHECK(s.PieceCount == 22);
    CHECK(s.FileName() == places.userFile);
    s.PieceCount = 33;
    CHECK(s.Save() == S_OK);
    CHECK(ReadBytes(places.userFile).find("Count=33") != std::string::npos);
    CHECK(ReadBytes(places.programFile) == "[Piece]\r\nCount=11\r\n");
}

TEST_CASE("Settings store: a program folder that cannot be written sends the settings to a new file of the "
          "user's, made from the program's file, its folders created") {
    TempFolder program;
    TempFolder user;
    // The program's file is a folder here, so it cannot be replaced (the end-to-end test makes a
    // folder that cannot be written with the file system's own means).
    const SettingsLocations places{program / L"Vitrelle.ini", user / L"Roaming\\Vitrelle\\Vitrelle.ini"};
    REQUIRE(CreateDirectoryW(places.programFile.c_str(), nullptr));
    CSettingImpl s(places, RealSettingsDisk());
    s.PieceCount = 44;
    CHECK(s.Save() == S_OK);
    CHECK(ReadBytes(places.userFile).find("Count=44") != std::string::npos);
    CHECK(FilesIn(user / L"Roaming\\Vitrelle") == std::vector<std::wstring>{L"Vitrelle.ini"});
    CSettingImpl again(places, RealSettingsDisk());
    CHECK(again.PieceCount == 44);

    // A file beside the program that can be read but not replaced passes its other lines on.
    TempFolder lockedProgram;
    TempFolder user2;
    const SettingsLocations locked{lockedProgram / L"Vitrelle.ini", user2 / L"Vitrelle\\Vitrelle.ini"};
    WriteBytes(locked.programFile, kOldFile);
    HANDLE held = CreateFileW(locked.programFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    REQUIRE(held != INVALID_HANDLE_VALUE);
    CSettingImpl t(locked, RealSettingsDisk());
    CHECK(t.PieceCount == 7);
    const HRESULT saved = t.Save();
    CloseHandle(held);
    CHECK(saved == S_OK);
    CHECK(ReadBytes(locked.programFile) == kOldFile);
    const std::string moved = ReadBytes(locked.userFile);
    CHECK(moved.starts_with("; kept by hand\r\n[Piece]\r\nCount=7\r\n"));
    CHECK(moved.find("Keep=yes") != std::string::npos);
    CHECK(FilesIn(lockedProgram.Path()) == std::vector<std::wstring>{L"Vitrelle.ini"});
}

TEST_CASE("Settings store: when neither place can be written, Save fails and nothing is created") {
    TempFolder folder;
    WriteBytes(folder / L"a file", "x");
    // Neither folder can be made: the program's does not exist, the user's would lie inside a file.
    const SettingsLocations places{folder / L"missing\\Vitrelle.ini", folder / L"a file\\Vitrelle\\Vitrelle.ini"};
    CSettingImpl s(places, RealSettingsDisk());
    s.PieceCount = 3;
    CHECK(FAILED(s.Save()));
    CHECK(FilesIn(folder.Path()) == std::vector<std::wstring>{L"a file"});
    CHECK(s.PieceCount == 3);

    CSettingImpl nowhere(SettingsLocations{}, RealSettingsDisk());
    CHECK(FAILED(nowhere.Save()));
}

TEST_CASE("Settings store: a save that fails half-way leaves the old file byte for byte, and no temporary "
          "file") {
    for (FailingDisk::Step step : {FailingDisk::Step::Write, FailingDisk::Step::Replace}) {
        CAPTURE(static_cast<int>(step));
        TempFolder program;
        TempFolder user;
        const SettingsLocations places{program / L"Vitrelle.ini", user / L"Vitrelle\\Vitrelle.ini"};
        WriteBytes(places.programFile, kOldFile);
        FailingDisk disk(step);
        CSettingImpl s(places, disk);
        s.PieceCount = 150;
        CHECK(FAILED(s.Save()));
        CHECK(ReadBytes(places.programFile) == kOldFile);
        CHECK(FilesIn(program.Path()) == std::vector<std::wstring>{L"Vitrelle.ini"});
        CHECK(FilesIn(user / L"Vitrelle").empty());
    }
}

TEST_CASE("Settings store: a file too large to read is never rewritten") {
    TempFolder program;
    TempFolder user;
    const SettingsLocations places{program / L"Vitrelle.ini", user / L"Vitrelle\\Vitrelle.ini"};
    const std::string huge = "[Piece]\r\nCount=9\r\n" + std::string(SettingsDisk::MaxFileSize, ';');
    WriteBytes(places.programFile, huge);
    CSettingImpl s(places, RealSettingsDisk());
    CHECK(s.PieceCount == 50);
    CHECK(s.Save() == S_OK);
    CHECK(ReadBytes(places.programFile) == huge);
    CHECK(ReadBytes(places.userFile).find("Count=50") != std::string::npos);
}

TEST_CASE("Settings text: every entry is read as the private-profile functions read it") {
    const std::vector<std::string> files{
        "[Piece]\r\nCount=0x1F\r\nScaleMin=\"0.75\"\r\nScaleMax='0.5\r\n",
        "[piece]\r\n  count  =  -12abc  \r\n[PIECE]\r\nCount=99\r\n[Light]\r\nArea\r\nStrength=1e999\r\n",
        "[ Piece ]\r\nCount=5\r\n[Piece\r\nCount=6\r\n[Piece]]\r\nCount=7\r\n",
        "[Screen]\r\nWidth=\r\nHeight=99999999999\r\nWidth=640\r\n[Triangle]\r\nSize=0b101\r\nTexture=0o17\r\n",
        "[Speed]\rRotation=0.3\r[Piece]\nCount=8\n[Light]\r\nArea=\x1A 0.25\x1A\r\n",
        "\xEF\xBB\xBF[Piece]\r\nCount=12\r\n",
        Bytes("\xFF\xFE[\0P\0i\0e\0c\0e\0]\0\r\0\n\0C\0o\0u\0n\0t\0=\0\x34\0\x32\0"),
        Bytes("\xFE\xFF\0[\0P\0i\0e\0c\0e\0]\0\n\0C\0o\0u\0n\0t\0=\0\x33"),
        "[Speed]\r\nShake=" + std::string(3000, '9') + "\r\nLight=nan\r\n[Light]\r\nStrength=-inf\r\n",
        Bytes("[Piece]\r\nCount=4\0 5\r\nScaleMin=0.\0" "5\r\n"),
    };
    SettingsFuzzer fuzzer(20261208);
    TempFolder folder;
    int cases = 0;
    int differences = 0;
    auto compare = [&](const std::string& bytes) {
        // A file name of its own for every case, so that no cached copy of an earlier file is read.
        const std::wstring file = folder / (L"case" + std::to_wstring(++cases) + L".ini");
        WriteBytes(file, bytes);
        const std::vector<double> ours = ValuesOf(CSettingImpl(file));
        const std::vector<double> theirs = ReadThroughProfileFunctions(file);
        if (!SameValues(ours, theirs) && ++differences <= 8) {
            std::string fields;
            for (std::size_t i = 0; i < ours.size(); ++i) {
                if (!SameValues({ours[i]}, {theirs[i]})) {
                    fields += " field " + std::to_string(i) + ": ours " + std::to_string(ours[i]) + ", theirs " +
                              std::to_string(theirs[i]) + ";";
                }
            }
            FAIL_CHECK("case " << cases << " is read differently:" << fields << "\n" << std::string(bytes, 0, 300));
        }
    };
    for (const std::string& bytes : files) {
        compare(bytes);
    }
    while (cases < 500) {
        const std::string bytes = fuzzer.NextFile();
        if (bytes.size() <= SettingsDisk::MaxFileSize) {
            compare(bytes);
        }
    }
    CHECK(differences == 0);
}

TEST_CASE("Settings text: an edit keeps every other byte, the encoding and its byte-order mark") {
    const std::string comment = "; \xE6\x97\xA5\xE6\x9C\xAC\r\n";
    struct Case {
        std::string before;
        std::string after;
    };
    const std::vector<Case> cases{
        {"\xEF\xBB\xBF" + comment + "[Piece]\r\ncount = 7 \r\n", "\xEF\xBB\xBF" + comment + "[Piece]\r\ncount=8\r\n"},
        {"[Piece]\nCount=7", "[Piece]\nCount=8"},
        {"[Piece]\r\nX=1\r\n\r\n[Light]\r\n", "[Piece]\r\nX=1\r\nCount=8\r\n\r\n[Light]\r\n"},
        {"[Light]\r\nArea=1", "[Light]\r\nArea=1\r\n[Piece]\r\nCount=8\r\n"},
        {Bytes("\xFF\xFE;\0\xE5\x65\r\0\n\0"),
         Bytes("\xFF\xFE;\0\xE5\x65\r\0\n\0[\0P\0i\0e\0c\0e\0]\0\r\0\n\0C\0o\0u\0n\0t\0=\0\x38\0\r\0\n\0")},
    };
    TempFolder folder;
    int index = 0;
    for (const Case& c : cases) {
        CAPTURE(index);
        ProfileText text = ProfileText::FromBytes(c.before);
        text.Set(L"Piece", L"Count", L"8");
        CHECK(text.ToBytes() == c.after);
        // The private-profile functions read the edited file as we do.
        const std::wstring file = folder / (L"edit" + std::to_wstring(++index) + L".ini");
        WriteBytes(file, text.ToBytes());
        CHECK(GetPrivateProfileIntW(L"Piece", L"Count", 0, file.c_str()) == 8);
    }
}

TEST_CASE("Settings fuzz: 2,000 random and mutated files are read, simulated, shown and saved safely") {
    SettingsFuzzer fuzzer(14);
    for (int i = 0; i < 2000; ++i) {
        const std::string bytes = fuzzer.NextFile();
        const std::string finding = CheckSettingsFile(bytes);
        if (!finding.empty()) {
            FAIL("case " << i << ": " << finding << "; file: " << std::string(bytes, 0, 300));
        }
    }
}
}
