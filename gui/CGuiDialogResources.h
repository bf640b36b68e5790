// The fonts, textures, sprite and state block shared by the dialogs of one run mode, and their device life.
#pragma once

#include "graphics/SpriteBatch.h"
#include "graphics/TextFont.h"

#include <d3d9.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <vector>

struct CGuiFontEntry {
    std::wstring faceName;                  // at most 259 characters
    std::unique_ptr<TextFont> font;         // null while there is no device
    int height = 0;                         // pixels, as requested
    int weight = 0;
};

struct CGuiTextureEntry {
    HMODULE module = nullptr;
    UINT resourceId = 0;                               // used when the image is named by an integer
    std::wstring resourceName;                         // used when the image is named by a string
    Microsoft::WRL::ComPtr<IDirect3DTexture9> texture; // null while there is no device
};

// The pair that names the skin image built into the program.
constexpr UINT kBuiltInSkinId = 0xFFFF;
inline HMODULE BuiltInSkinModule() {
    return reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0xFFFF));
}

class CGuiDialogResources {
public:
    CGuiDialogResources() = default;
    CGuiDialogResources(const CGuiDialogResources&) = delete;
    CGuiDialogResources& operator=(const CGuiDialogResources&) = delete;
    ~CGuiDialogResources();

    // Index of the matching or new entry; -1 when no entry could be made. Indices never change.
    int AddFont(const wchar_t* faceName, int height, int weight);
    int AddTexture(const wchar_t* resourceName, HMODULE module);

    HRESULT CreateDeviceObjects(IDirect3DDevice9* device);
    HRESULT ResetDeviceObjects();
    void LoseDeviceObjects();
    void DestroyDeviceObjects();

    const CGuiFontEntry* GetFont(int index) const;
    const CGuiTextureEntry* GetTexture(int index) const;
    size_t FontCount() const { return fonts.size(); }
    size_t TextureCount() const { return textures.size(); }
    IDirect3DDevice9* GetDevice() const { return device; }
    SpriteBatch* GetSprite() const { return sprite.get(); }
    IDirect3DStateBlock9* GetStateBlock() const { return stateBlock.Get(); }
    // The pixel program of the background's colours; null where the texture stages draw them.
    IDirect3DPixelShader9* GetBackgroundProgram() const { return backgroundProgram.Get(); }
    // Glyph images made by all fonts since they were created with the device.
    unsigned GlyphsRasterised() const;

private:
    HRESULT CreateFontObject(CGuiFontEntry& entry);
    HRESULT CreateTextureObject(CGuiTextureEntry& entry);

    Microsoft::WRL::ComPtr<IDirect3DStateBlock9> stateBlock; // between reset and loss
    std::unique_ptr<SpriteBatch> sprite;                     // between creation and destruction
    Microsoft::WRL::ComPtr<IDirect3DPixelShader9> backgroundProgram; // as long as the sprite
    std::vector<std::unique_ptr<CGuiTextureEntry>> textures;
    std::vector<std::unique_ptr<CGuiFontEntry>> fonts;
    IDirect3DDevice9* device = nullptr; // not owned
};
