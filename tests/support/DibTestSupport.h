// Test bitmaps of every depth, shared by the graphics and the clipboard tests.
#pragma once

#include <Wivo.h>

#include <string>
#include <vector>

namespace wivotest {

inline UINT Stride(int bpp, int width) { return (bpp * width + 31) / 32 * 4; }

// A bitmap as CreateFromData takes it: 16 bits with 5-6-5 masks, up to 8 bits with
// a full table of distinct colours, every byte (padding too) patterned.
struct Dib
{
    Dib(int bpp, int width, int height)
        : info(40 + (bpp == 16 ? 12 : bpp <= 8 ? 4u << bpp : 0)), bits(Stride(bpp, width) * height)
    {
        *(BITMAPINFOHEADER*)info.data() = { 40, width, height, 1, (WORD)bpp,
            (DWORD)(bpp == 16 ? BI_BITFIELDS : BI_RGB), (DWORD)bits.size(), 0, 0, 0, 0 };
        const DWORD masks565[3] = { 0xF800, 0x07E0, 0x001F };
        DWORD* tail = (DWORD*)(info.data() + 40);
        for (int i = 0; i < (bpp == 16 ? 3 : bpp <= 8 ? 1 << bpp : 0); i++)
            tail[i] = bpp == 16 ? masks565[i] : (i * 37 + 11) % 256 << 16 | (i * 91) % 256 << 8 | i;
        for (size_t k = 0; k < bits.size(); k++)
            bits[k] = (BYTE)(k * 29 + bpp * 7 + 1);
    }
    const BITMAPINFO* Info() const { return (const BITMAPINFO*)info.data(); }
    std::string Table() const { return std::string(info.begin() + 40, info.end()); }
    std::string Bits() const { return std::string(bits.begin(), bits.end()); }
    std::vector<BYTE> info, bits;
};

inline std::string BitsOf(const CDIBitmap& dib)
{
    return dib.GetBits() ? std::string((const char*)dib.GetBits(), dib.GetSizeInBytes()) : "";
}

inline std::string ColoursOf(const CDIBitmap& dib)
{
    RGBQUAD colours[256];
    return std::string((const char*)colours, dib.GetColorTable(colours, 256) * 4);
}

} // namespace wivotest
