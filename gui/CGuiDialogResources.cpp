// The shared font and texture cache of the dialogs and its device life.
#include "gui/CGuiDialogResources.h"

#include "graphics/PixelPrograms.h"
#include "graphics/TextureLoader.h"
#include "gui/BuiltInSkin.h"


#include <new>

namespace {

constexpr size_t kMaxNameLength = 259;

bool SameName(const std::wstring& stored, const wchar_t* requested) {
    return CompareStringOrdinal(stored.c_str(), -1, requested, -1, TRUE) == CSTR_EQUAL;
}

std::wstring CutName(const wchar_t* name) {
    std::wstring text(name ? name : L"");
    if (text.size() > kMaxNameLength) {
        text.resize(kMaxNameLength);
    }
    return text;
}

} // namespace

CGuiDialogResources::~CGuiDialogResources() {
    DestroyDeviceObjects();
}

int CGuiDialogResources::AddFont(const wchar_t* faceName, int height, int weight) {
    const wchar_t* face = faceName ? faceName : L"";
    const std::wstring cut = CutName(face);
    for (size_t i = 0; i < fonts.size(); ++i) {
        const CGuiFontEntry& entry = *fonts[i];
        if (entry.height == height && entry.weight == weight && SameName(entry.faceName, cut.c_str())) {
            return static_cast<int>(i);
        }
    }
    try {
        auto entry = std::make_unique<CGuiFontEntry>();
        entry->faceName = cut;
        entry->height = height;
        entry->weight = weight;
        fonts.push_back(std::move(entry));
    } catch (const std::bad_alloc&) {
        return -1;
    }
    if (device) {
        CreateFontObject(*fonts.back());
    }
    return static_cast<int>(fonts.size() - 1);
}

int CGuiDialogResources::AddTexture(const wchar_t* resourceName, HMODULE module) {
    const bool byId = IS_INTRESOURCE(resourceName);
    const UINT id = byId ? static_cast<UINT>(reinterpret_cast<ULONG_PTR>(resourceName)) : 0;
    const std::wstring name = byId ? std::wstring() : CutName(resourceName);
    for (size_t i = 0; i < textures.size(); ++i) {
        const CGuiTextureEntry& entry = *textures[i];
        if (entry.module != module) {
            continue;
        }
        if (byId ? (entry.resourceName.empty() && entry.resourceId == id)
                 : (!entry.resourceName.empty() && SameName(entry.resourceName, name.c_str()))) {
            return static_cast<int>(i);
        }
    }
    try {
        auto entry = std::make_unique<CGuiTextureEntry>();
        entry->module = module;
        entry->resourceId = id;
        entry->resourceName = name;
        textures.push_back(std::move(entry));
    } catch (const std::bad_alloc&) {
        return -1;
    }
    if (device) {
        CreateTextureObject(*textures.back());
    }
    return static_cast<int>(textures.size() - 1);
}

const CGuiFontEntry* CGuiDialogResources::GetFont(int index) const {
    return index >= 0 && static_cast<size_t>(index) < fonts.size() ? fonts[index].get() : nullptr;
}

const CGuiTextureEntry* CGuiDialogResources::GetTexture(int index) const {
    return index >= 0 && static_cast<size_t>(index) < textures.size() ? textures[index].get() : nullptr;
}

unsigned CGuiDialogResources::GlyphsRasterised() const {
    unsigned count = 0;
    for (const auto& entry : fonts) {
        count += entry->font ? entry->font->GlyphsRasterised() : 0;
    }
    return count;
}

HRESULT CGuiDialogResources::CreateFontObject(CGuiFontEntry& entry) {
    entry.font.reset();
    try {
        auto font = std::make_unique<TextFont>(device, entry.faceName.c_str(), entry.height, entry.weight);
        const HRESULT hr = font->Status();
        if (SUCCEEDED(hr)) {
            entry.font = std::move(font);
        }
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CGuiDialogResources::CreateTextureObject(CGuiTextureEntry& entry) {
    entry.texture.Reset();
    if (entry.module == BuiltInSkinModule() && entry.resourceId == kBuiltInSkinId &&
        entry.resourceName.empty()) {
        const std::span<const BYTE> skin = BuiltInSkinImage();
        if (skin.empty()) {
            return E_FAIL;
        }
        return CreateTextureFromFileBytes(device, skin, entry.texture.GetAddressOf());
    }
    const wchar_t* name =
        entry.resourceName.empty() ? MAKEINTRESOURCEW(entry.resourceId) : entry.resourceName.c_str();
    return CreateTextureFromResource(device, entry.module, name, entry.texture.GetAddressOf());
}

// Every object is attempted even after a failure, so one bad entry does not leave the rest undrawn;
// the first failure is reported.
HRESULT CGuiDialogResources::CreateDeviceObjects(IDirect3DDevice9* newDevice) {
    device = newDevice;
    if (!device) {
        return E_INVALIDARG;
    }
    HRESULT result = S_OK;
    for (auto& entry : fonts) {
        const HRESULT hr = CreateFontObject(*entry);
        if (FAILED(hr) && SUCCEEDED(result)) {
            result = hr;
        }
    }
    for (auto& entry : textures) {
        const HRESULT hr = CreateTextureObject(*entry);
        if (FAILED(hr) && SUCCEEDED(result)) {
            result = hr;
        }
    }
    sprite.reset();
    backgroundProgram = CreatePixelProgram(device, PixelProgram::Colour);
    try {
        // The skin is drawn at about its size and the glyphs at exactly theirs: linear filtering is as
        // sharp there, and anisotropic filtering costs much more on a software renderer.
        sprite = std::make_unique<SpriteBatch>(device, SpriteFilter::Linear);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return FAILED(sprite->Status()) ? sprite->Status() : result;
}

// The fonts keep their glyphs in the managed pool: only the sprite batch and the state block go with
// the device's reset.
HRESULT CGuiDialogResources::ResetDeviceObjects() {
    const HRESULT spriteResult = sprite ? sprite->OnResetDevice() : S_OK;
    stateBlock.Reset();
    if (!device) {
        return E_FAIL;
    }
    if (!sprite || FAILED(spriteResult)) {
        return spriteResult;
    }
    // The dialog's drawing sets no state that its sprite batch does not set too: the batch's block
    // gives all of them back, at a fraction of the cost of capturing and applying every state.
    return sprite->RecordStateBlock(stateBlock.GetAddressOf());
}

void CGuiDialogResources::LoseDeviceObjects() {
    if (sprite) {
        sprite->OnLostDevice();
    }
    stateBlock.Reset();
}

void CGuiDialogResources::DestroyDeviceObjects() {
    device = nullptr;
    for (auto& entry : fonts) {
        entry->font.reset();
    }
    for (auto& entry : textures) {
        entry->texture.Reset();
    }
    stateBlock.Reset();
    sprite.reset();
    backgroundProgram.Reset();
}
