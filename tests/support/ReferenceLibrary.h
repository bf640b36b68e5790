// Direct3D's old utility library, loaded at run time as a reference to compare our own drawing,
// text and textures against. Only the test program loads it; where it is missing (as on a stock
// Windows PC, or with the library disabled in the test prefix) the comparisons say so and skip.
#pragma once

#include <windows.h>

class ReferenceLibrary {
public:
    ReferenceLibrary() : module_(LoadLibraryW(L"d3dx9_43.dll")) {}
    ReferenceLibrary(const ReferenceLibrary&) = delete;
    ReferenceLibrary& operator=(const ReferenceLibrary&) = delete;
    ~ReferenceLibrary() {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }

    bool Present() const { return module_ != nullptr; }

    // The entry point `name` as a pointer of type Function, or null when it is not there.
    template <typename Function> Function Get(const char* name) const {
        if (module_ == nullptr) {
            return nullptr;
        }
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};
