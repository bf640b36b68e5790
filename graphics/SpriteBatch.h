// Textured rectangles drawn in batches: each sprite has its own transform, source rectangle and
// colour; the picture is that of the sprites drawn in the order given, each run of one texture with
// one draw call from a dynamic vertex buffer. A sprite joins an earlier run of its texture when it
// overlaps nothing drawn after that run, so interleaved images and texts cost few draw calls.
#pragma once

#include "graphics/Transform2D.h"

#include <d3d9.h>
#include <wrl/client.h>

#include <vector>

// How a sprite's pixels meet what is already there.
enum class SpriteBlend {
    Additive, // source alpha x source + destination
    Over,     // source alpha x source + (1 - source alpha) x destination
};

// How texels are filtered: anisotropic (where the device has it) keeps turned and stretched sprites
// sharp; linear costs far less on a software renderer and is exact for sprites drawn at their size.
enum class SpriteFilter { Linear, Anisotropic };

// Whether End gives the device back the states that drawing the sprites changed.
enum class SpriteStateSaving { Save, DoNotSave };

// A pre-transformed vertex with a colour and one pair of texture coordinates.
struct SpriteVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
    float u, v;
};
static_assert(sizeof(SpriteVertex) == 28);

class SpriteBatch {
public:
    // Makes the device objects at once (the device is in its reset state after creation).
    explicit SpriteBatch(IDirect3DDevice9* device, SpriteFilter filter = SpriteFilter::Anisotropic);
    SpriteBatch(const SpriteBatch&) = delete;
    SpriteBatch& operator=(const SpriteBatch&) = delete;
    ~SpriteBatch();

    // The creation result of the constructor or of the last reset.
    HRESULT Status() const { return status; }
    // The vertex buffer and the state block live in the default pool: released before a device reset
    // and made again after it. A batch that is open when the device is lost is dropped.
    void OnLostDevice();
    HRESULT OnResetDevice();

    HRESULT Begin(SpriteBlend blend, SpriteStateSaving saving);
    // Queues one sprite: the source rectangle (the whole texture when null) becomes a rectangle of
    // its own size with its top-left corner at (0, 0), which `transform` takes to window pixels.
    HRESULT Draw(IDirect3DTexture9* texture, const RECT* source, const Matrix2D& transform, D3DCOLOR color);
    // Draws what was queued, with the batch's states set just before; the batch stays open.
    HRESULT Flush();
    // Flushes and closes the batch; with state saving the device's states are given back, without it
    // they stay the batch's, its pixel program among them.
    HRESULT End();

    // A state block holding every state that the batch's drawing sets, its texture and stream too:
    // recorded from those very calls, so that capturing and applying it touches only them.
    HRESULT RecordStateBlock(IDirect3DStateBlock9** block) const;

    bool IsOpen() const { return open; }
    // Draw calls made since the batch was made: one per run of one texture.
    unsigned DrawCalls() const { return drawCalls; }

private:
    struct Box {
        float left, top, right, bottom;
    };
    struct Run {
        Microsoft::WRL::ComPtr<IDirect3DTexture9> texture;
        std::vector<SpriteVertex> vertices; // kept from batch to batch for their storage
        std::vector<Box> boxes;             // each sprite's on the screen
        Box box;                            // around them all
    };

    HRESULT MakeDeviceObjects();
    Run& RunFor(IDirect3DTexture9* texture, const Box& box);
    void SetStates() const;
    HRESULT Lock(UINT count, SpriteVertex*& data, UINT& bufferStart);
    HRESULT DrawInPieces(const Run& run);
    void DropRuns();

    Microsoft::WRL::ComPtr<IDirect3DDevice9> device;
    Microsoft::WRL::ComPtr<IDirect3DVertexBuffer9> buffer;
    Microsoft::WRL::ComPtr<IDirect3DStateBlock9> savedStates;
    Microsoft::WRL::ComPtr<IDirect3DPixelShader9> program; // null: the texture stages modulate
    HRESULT status = S_OK;
    UINT bufferNext = 0;
    std::vector<Run> runs; // the first runCount are this batch's
    size_t runCount = 0;
    IDirect3DTexture9* lastTexture = nullptr;
    float lastWidth = 1.0f;
    float lastHeight = 1.0f;
    D3DTEXTUREFILTERTYPE minFilter = D3DTEXF_LINEAR;
    D3DTEXTUREFILTERTYPE magFilter = D3DTEXF_LINEAR;
    DWORD maxAnisotropy = 1;
    SpriteBlend blend = SpriteBlend::Over;
    SpriteStateSaving saving = SpriteStateSaving::DoNotSave;
    bool open = false;
    unsigned drawCalls = 0;
};

// Begin and End of a sprite batch as a scope: the batch is closed however the scope ends.
class SpriteBatchScope {
public:
    SpriteBatchScope(SpriteBatch& batch, SpriteBlend blend, SpriteStateSaving saving)
        : batch(batch), result(batch.Begin(blend, saving)), open(SUCCEEDED(result)) {}
    SpriteBatchScope(const SpriteBatchScope&) = delete;
    SpriteBatchScope& operator=(const SpriteBatchScope&) = delete;
    ~SpriteBatchScope() {
        if (open) {
            batch.End();
        }
    }

    // The result of Begin.
    HRESULT Result() const { return result; }
    // Ends the batch now and returns End's result; the scope's end then does nothing.
    HRESULT End() {
        if (!open) {
            return result;
        }
        open = false;
        return batch.End();
    }

private:
    SpriteBatch& batch;
    HRESULT result;
    bool open;
};
