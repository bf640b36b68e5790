// Message boxes read and closed at once, so that a test can check what the user would be told.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Shows what a message box said and closes it at once: caption and text of each box shown while
// the catcher lives on this thread.
class MessageBoxCatcher {
public:
    MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;
    ~MessageBoxCatcher();

    struct Box {
        std::wstring caption;
        std::wstring text;
    };
    static std::vector<Box>& Boxes();

private:
    HHOOK hook_ = nullptr;
};
