// The command-line dispatch: only the first two characters decide.
#include "host/CommandLine.h"

#include <doctest/doctest.h>

#include <string>

TEST_SUITE("host") {

TEST_CASE("CommandLine: the first two characters pick the run mode") {
    struct Case {
        const wchar_t* tail;
        RunModeKind mode;
        bool foregroundParent;
    };
    const Case cases[] = {
        {L"/s", RunModeKind::Saver, false},
        {L"/S", RunModeKind::Saver, false},
        {L"/sabc", RunModeKind::Saver, false},
        {L"-s", RunModeKind::Settings, false},
        {L"s", RunModeKind::Settings, false},
        {L" /s", RunModeKind::Settings, false},
        {L"/c", RunModeKind::Settings, true},
        {L"/C", RunModeKind::Settings, true},
        {L"/c:5678", RunModeKind::Settings, true},
        {L"/configure", RunModeKind::Settings, true},
        {L"/cx", RunModeKind::Settings, true},
        {L"/x", RunModeKind::Settings, false},
        {L"/", RunModeKind::Settings, false},
        {L"", RunModeKind::Settings, false},
        {L"/p 1234", RunModeKind::Preview, false},
    };
    for (const Case& c : cases) {
        INFO("tail: ", std::string(c.tail, c.tail + std::wstring(c.tail).size()));
        CommandLine parsed = ParseCommandLine(c.tail);
        CHECK(parsed.mode == c.mode);
        CHECK(parsed.parentIsForegroundWindow == c.foregroundParent);
        if (c.mode != RunModeKind::Preview) {
            CHECK(parsed.parent == nullptr);
        }
    }
}

TEST_CASE("CommandLine: a null tail is the settings run without parent") {
    CommandLine parsed = ParseCommandLine(nullptr);
    CHECK(parsed.mode == RunModeKind::Settings);
    CHECK_FALSE(parsed.parentIsForegroundWindow);
}

TEST_CASE("CommandLine: the preview's window handle is the decimal number after /p") {
    struct Case {
        const wchar_t* tail;
        LONG_PTR handle;
    };
    const Case cases[] = {
        {L"/p 1234", 1234}, {L"/P1234", 1234}, {L"/p", 0},      {L"/p:1234", 0},
        {L"/p abc", 0},     {L"/p\t 77x", 77}, {L"/p 00042", 42}, {L"/p -5", -5},
    };
    for (const Case& c : cases) {
        INFO("tail: ", std::string(c.tail, c.tail + std::wstring(c.tail).size()));
        CommandLine parsed = ParseCommandLine(c.tail);
        CHECK(parsed.mode == RunModeKind::Preview);
        CHECK(reinterpret_cast<LONG_PTR>(parsed.parent) == c.handle);
    }
}
}
