// The pixel programs as pixel shader 2.0 tokens, written out by hand: a handful of instructions each.
#include "graphics/PixelPrograms.h"

#include <cwchar>
#include <iterator>
#include <vector>

namespace {

constexpr DWORD Instruction(D3DSHADER_INSTRUCTION_OPCODE_TYPE opcode, DWORD operands) {
    return static_cast<DWORD>(opcode) | operands << D3DSI_INSTLENGTH_SHIFT;
}

// A register's type is split over two bit fields of its token.
constexpr DWORD Register(D3DSHADER_PARAM_REGISTER_TYPE type, DWORD index) {
    const DWORD t = static_cast<DWORD>(type);
    return 0x80000000u | ((t << D3DSP_REGTYPE_SHIFT) & D3DSP_REGTYPE_MASK) |
           ((t << D3DSP_REGTYPE_SHIFT2) & D3DSP_REGTYPE_MASK2) | index;
}

constexpr DWORD Destination(D3DSHADER_PARAM_REGISTER_TYPE type, DWORD index,
                            DWORD mask = D3DSP_WRITEMASK_ALL) {
    return Register(type, index) | mask;
}

constexpr DWORD Source(D3DSHADER_PARAM_REGISTER_TYPE type, DWORD index) {
    return Register(type, index) | D3DSP_NOSWIZZLE;
}

constexpr DWORD Rgb = D3DSP_WRITEMASK_0 | D3DSP_WRITEMASK_1 | D3DSP_WRITEMASK_2;

template <typename... Tokens> void Append(std::vector<DWORD>& code, Tokens... tokens) {
    (code.push_back(tokens), ...);
}

// Declarations: a colour (v#) or texture coordinates (t#) read whole, a 2-D sampler (s#).
void DeclareInput(std::vector<DWORD>& code, D3DSHADER_PARAM_REGISTER_TYPE type, DWORD index) {
    Append(code, Instruction(D3DSIO_DCL, 2), 0x80000000u, Destination(type, index));
}

void DeclareSampler(std::vector<DWORD>& code, DWORD index) {
    Append(code, Instruction(D3DSIO_DCL, 2), 0x80000000u | static_cast<DWORD>(D3DSTT_2D),
           Destination(D3DSPR_SAMPLER, index));
}

// The declarations of texture <index> and its coordinates; all declarations come before the first
// instruction.
void DeclareTexture(std::vector<DWORD>& code, DWORD index) {
    DeclareInput(code, D3DSPR_TEXTURE, index);
    DeclareSampler(code, index);
}

// r<index> = texture <index> at coordinates <index>.
void Sample(std::vector<DWORD>& code, DWORD index) {
    Append(code, Instruction(D3DSIO_TEX, 3), Destination(D3DSPR_TEMP, index), Source(D3DSPR_TEXTURE, index),
           Source(D3DSPR_SAMPLER, index));
}

std::vector<DWORD> Code(PixelProgram program) {
    std::vector<DWORD> code = {D3DPS_VERSION(2, 0)};
    DeclareInput(code, D3DSPR_INPUT, 0);
    switch (program) {
    case PixelProgram::Colour:
        Append(code, Instruction(D3DSIO_MOV, 2), Destination(D3DSPR_COLOROUT, 0), Source(D3DSPR_INPUT, 0));
        break;
    case PixelProgram::TextureTimesColour:
        DeclareTexture(code, 0);
        Sample(code, 0);
        Append(code, Instruction(D3DSIO_MUL, 3), Destination(D3DSPR_COLOROUT, 0), Source(D3DSPR_TEMP, 0),
               Source(D3DSPR_INPUT, 0));
        break;
    case PixelProgram::TwoTexturesTimesColours:
        DeclareInput(code, D3DSPR_INPUT, 1);
        DeclareTexture(code, 0);
        DeclareTexture(code, 1);
        Sample(code, 0);
        Sample(code, 1);
        // r1.rgb = r1 x v1 + r0 x v0, and r1.a stays texture 1's alpha.
        Append(code, Instruction(D3DSIO_MUL, 3), Destination(D3DSPR_TEMP, 0, Rgb), Source(D3DSPR_TEMP, 0),
               Source(D3DSPR_INPUT, 0));
        Append(code, Instruction(D3DSIO_MAD, 4), Destination(D3DSPR_TEMP, 1, Rgb), Source(D3DSPR_TEMP, 1),
               Source(D3DSPR_INPUT, 1), Source(D3DSPR_TEMP, 0));
        Append(code, Instruction(D3DSIO_MOV, 2), Destination(D3DSPR_COLOROUT, 0), Source(D3DSPR_TEMP, 1));
        break;
    }
    code.push_back(D3DPS_END());
    return code;
}

} // namespace

Microsoft::WRL::ComPtr<IDirect3DPixelShader9> CreatePixelProgram(IDirect3DDevice9* device,
                                                                 PixelProgram program) {
    Microsoft::WRL::ComPtr<IDirect3DPixelShader9> shader;
    D3DCAPS9 caps = {};
    if (!device || FAILED(device->GetDeviceCaps(&caps)) || caps.PixelShaderVersion < D3DPS_VERSION(2, 0)) {
        return shader;
    }
    const std::vector<DWORD> code = Code(program);
    const HRESULT hr = device->CreatePixelShader(code.data(), shader.GetAddressOf());
    if (FAILED(hr)) {
        wchar_t text[96];
        std::swprintf(text, std::size(text),
                      L"IGNORED: pixel program %d: 0x%08lX, the texture stages draw\r\n",
                      static_cast<int>(program), static_cast<unsigned long>(hr));
        OutputDebugStringW(text);
    }
    return shader;
}
