// GalleryPictures.cpp - the gallery's pictures: a moire of rings (1 bit), contour
// bands of a sunset (4 bits), the Mandelbrot set (8 bits), a colour field (16 bits),
// a plasma (24 bits) and a colour wheel (32 bits).
#include "GalleryPictures.h"

#include <DIBitmap.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

struct Rgb
{
    double r, g, b;     // 0 to 1
};

BYTE ToByte(double v)
{
    return static_cast<BYTE>(std::min(255.0, std::max(0.0, v * 255.0 + 0.5)));
}

// A colour between stops (position, colour) sorted by position, at t in [0, 1].
struct Stop
{
    double t;
    Rgb color;
};

Rgb Gradient(const Stop* stops, int nStops, double t)
{
    if (t <= stops[0].t)
        return stops[0].color;
    for (int i = 1; i < nStops; ++i) {
        if (t <= stops[i].t) {
            double f = (t - stops[i - 1].t) / (stops[i].t - stops[i - 1].t);
            const Rgb& a = stops[i - 1].color;
            const Rgb& b = stops[i].color;
            return Rgb{a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f};
        }
    }
    return stops[nStops - 1].color;
}

Rgb Hsv(double h, double s, double v)
{
    h = (h - std::floor(h)) * 6;
    int i = static_cast<int>(h) % 6;
    double f = h - std::floor(h);
    double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i) {
    case 0: return Rgb{v, t, p};
    case 1: return Rgb{q, v, p};
    case 2: return Rgb{p, v, t};
    case 3: return Rgb{p, q, v};
    case 4: return Rgb{t, p, v};
    default: return Rgb{v, p, q};
    }
}

// Header, colour table and bottom-up pixel rows of one picture, filled pixel by
// pixel with y counted from the top.
class CPictureBuffer
{
public:
    explicit CPictureBuffer(int nBitsPerPixel)
        : m_nBits(nBitsPerPixel),
          m_nStride(((kPictureWidth * nBitsPerPixel + 31) / 32) * 4),
          m_info(sizeof(BITMAPINFOHEADER) + (nBitsPerPixel <= 8 ? (4 << nBitsPerPixel) : 0)),
          m_bits(static_cast<size_t>(m_nStride) * kPictureHeight)
    {
        BITMAPINFOHEADER& bmih = *reinterpret_cast<BITMAPINFOHEADER*>(m_info.data());
        bmih.biSize = sizeof(BITMAPINFOHEADER);
        bmih.biWidth = kPictureWidth;
        bmih.biHeight = kPictureHeight;
        bmih.biPlanes = 1;
        bmih.biBitCount = static_cast<WORD>(nBitsPerPixel);
        bmih.biCompression = BI_RGB;
        // CreateFromData copies this many bytes of pixels.
        bmih.biSizeImage = static_cast<DWORD>(m_bits.size());
    }

    void SetPaletteColor(int nIndex, const Rgb& c)
    {
        RGBQUAD* pColors = reinterpret_cast<RGBQUAD*>(m_info.data() + sizeof(BITMAPINFOHEADER));
        pColors[nIndex].rgbRed = ToByte(c.r);
        pColors[nIndex].rgbGreen = ToByte(c.g);
        pColors[nIndex].rgbBlue = ToByte(c.b);
        pColors[nIndex].rgbReserved = 0;
    }

    void SetIndex(int x, int y, int nIndex)
    {
        BYTE* pRow = Row(y);
        int nPerByte = 8 / m_nBits;
        int nShift = (nPerByte - 1 - x % nPerByte) * m_nBits;
        BYTE mask = static_cast<BYTE>(((1 << m_nBits) - 1) << nShift);
        BYTE& b = pRow[x / nPerByte];
        b = static_cast<BYTE>((b & ~mask) | ((nIndex << nShift) & mask));
    }

    // 16 bits per pixel keep 5 bits per channel; an ordered dither spreads the
    // rest so that the gradients show no bands.
    void SetColor(int x, int y, const Rgb& c)
    {
        BYTE* pRow = Row(y);
        if (m_nBits == 16) {
            static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
            double d = (bayer[y & 3][x & 3] + 0.5) / 16.0;
            auto five = [d](double v) {
                return std::min(31, std::max(0, static_cast<int>(v * 31.0 + d)));
            };
            WORD w = static_cast<WORD>((five(c.r) << 10) | (five(c.g) << 5) | five(c.b));
            pRow[2 * x] = LOBYTE(w);
            pRow[2 * x + 1] = HIBYTE(w);
        } else {
            int n = m_nBits / 8;
            pRow[n * x] = ToByte(c.b);
            pRow[n * x + 1] = ToByte(c.g);
            pRow[n * x + 2] = ToByte(c.r);
        }
    }

    BOOL CreateIn(CDIBitmap& dib) const
    {
        return dib.CreateFromData(reinterpret_cast<const BITMAPINFO*>(m_info.data()), m_bits.data());
    }

private:
    BYTE* Row(int y) { return &m_bits[static_cast<size_t>(kPictureHeight - 1 - y) * m_nStride]; }

    int m_nBits;
    int m_nStride;
    std::vector<BYTE> m_info;
    std::vector<BYTE> m_bits;
};

// Two sets of concentric rings laid over each other: where they cross, their
// interference draws hyperbolas.
void DrawMoire(CPictureBuffer& picture)
{
    picture.SetPaletteColor(0, Rgb{0.09, 0.13, 0.30});
    picture.SetPaletteColor(1, Rgb{0.98, 0.93, 0.80});
    const double ring = 5.0;
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            double d1 = std::hypot(x - kPictureWidth * 0.36, y - kPictureHeight * 0.42);
            double d2 = std::hypot(x - kPictureWidth * 0.64, y - kPictureHeight * 0.58);
            picture.SetIndex(x, y, (static_cast<int>(d1 / ring) + static_cast<int>(d2 / ring)) & 1);
        }
    }
}

// Waves summed into a height field, cut into 16 bands coloured from night to sun.
void DrawContours(CPictureBuffer& picture)
{
    static const Stop sunset[] = {
        {0.00, {0.08, 0.04, 0.24}}, {0.35, {0.47, 0.12, 0.47}}, {0.62, {0.90, 0.31, 0.27}},
        {0.82, {0.98, 0.63, 0.24}}, {1.00, {1.00, 0.94, 0.59}},
    };
    for (int i = 0; i < 16; ++i)
        picture.SetPaletteColor(i, Gradient(sunset, 5, i / 15.0));
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            double v = std::sin(x * 0.045) + std::sin(y * 0.06 + 1.0) + std::sin((x + y) * 0.03) +
                       std::sin(std::hypot(x - kPictureWidth * 0.5, y - kPictureHeight * 0.6) * 0.07);
            int n = static_cast<int>((v + 4.0) / 8.0 * 16.0);
            picture.SetIndex(x, y, std::min(15, std::max(0, n)));
        }
    }
}

// The Mandelbrot set: black inside; outside, the escape time picks one of 254
// colours that cycle through blue, white and gold.
void DrawMandelbrot(CPictureBuffer& picture)
{
    static const Stop waves[] = {
        {0.0, {0.00, 0.03, 0.39}}, {0.16, {0.13, 0.42, 0.80}}, {0.42, {0.93, 1.00, 1.00}},
        {0.64, {1.00, 0.67, 0.00}}, {0.86, {0.00, 0.01, 0.00}}, {1.0, {0.00, 0.03, 0.39}},
    };
    const int nMaxIterations = 254;
    picture.SetPaletteColor(0, Rgb{0, 0, 0});
    for (int i = 1; i <= nMaxIterations; ++i) {
        double t = (i - 1) / 40.0;
        picture.SetPaletteColor(i, Gradient(waves, 6, t - std::floor(t)));
    }
    picture.SetPaletteColor(255, Rgb{1, 1, 1});
    const double scale = 2.9 / kPictureWidth;
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            double cr = -0.72 + (x - kPictureWidth / 2.0) * scale;
            double ci = (y - kPictureHeight / 2.0) * scale;
            double zr = 0, zi = 0;
            int n = 0;
            while (n < nMaxIterations && zr * zr + zi * zi <= 4.0) {
                double t = zr * zr - zi * zi + cr;
                zi = 2 * zr * zi + ci;
                zr = t;
                ++n;
            }
            picture.SetIndex(x, y, n == nMaxIterations ? 0 : n + 1);
        }
    }
}

// Every hue from left to right, from white at the top through full colour to black.
void DrawColorField(CPictureBuffer& picture)
{
    for (int y = 0; y < kPictureHeight; ++y) {
        double l = 1.0 - y / (kPictureHeight - 1.0);
        for (int x = 0; x < kPictureWidth; ++x) {
            Rgb c = Hsv(x / static_cast<double>(kPictureWidth), 1, 1);
            if (l > 0.5) {
                double w = (l - 0.5) * 2;
                c = Rgb{c.r + (1 - c.r) * w, c.g + (1 - c.g) * w, c.b + (1 - c.b) * w};
            } else {
                c = Rgb{c.r * l * 2, c.g * l * 2, c.b * l * 2};
            }
            picture.SetColor(x, y, c);
        }
    }
}

// Sine waves summed and turned into colour by three phase-shifted sines.
void DrawPlasma(CPictureBuffer& picture)
{
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            double v = std::sin(x / 16.0) + std::sin(y / 11.0 + x / 23.0) + std::sin((x + y) / 19.0) +
                       std::sin(std::hypot(x - kPictureWidth * 0.7, y - kPictureHeight * 0.3) / 9.0);
            double a = v * kPi / 2;
            picture.SetColor(x, y, Rgb{0.5 + 0.5 * std::sin(a), 0.5 + 0.5 * std::sin(a + 2 * kPi / 3),
                                       0.5 + 0.5 * std::sin(a + 4 * kPi / 3)});
        }
    }
}

// Hue by angle and saturation by distance from the centre, on a dark vignette,
// with a smoothed edge.
void DrawColorWheel(CPictureBuffer& picture)
{
    const double cx = kPictureWidth / 2.0, cy = kPictureHeight / 2.0;
    const double radius = kPictureHeight * 0.44;
    const double corner = std::hypot(cx, cy);
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            double r = std::hypot(dx, dy);
            double shade = 1 - r / corner;
            Rgb back{0.08 + 0.16 * shade, 0.09 + 0.17 * shade, 0.12 + 0.20 * shade};
            double cover = std::min(1.0, std::max(0.0, radius - r + 0.5));
            Rgb wheel = Hsv(std::atan2(-dy, dx) / (2 * kPi), std::min(1.0, r / radius), 1);
            picture.SetColor(x, y, Rgb{back.r + (wheel.r - back.r) * cover,
                                       back.g + (wheel.g - back.g) * cover,
                                       back.b + (wheel.b - back.b) * cover});
        }
    }
}

struct PictureKind
{
    int nBitsPerPixel;
    const wchar_t* pszTitle;
    void (*pfnDraw)(CPictureBuffer&);
};

const PictureKind kPictures[] = {
    {1, L"Moiré", DrawMoire},
    {4, L"Höhenlinien", DrawContours},
    {8, L"Mandelbrot-Menge", DrawMandelbrot},
    {16, L"Farbfeld", DrawColorField},
    {24, L"Plasma", DrawPlasma},
    {32, L"Farbkreis", DrawColorWheel},
};

const PictureKind* FindPicture(int nBitsPerPixel)
{
    for (const PictureKind& kind : kPictures) {
        if (kind.nBitsPerPixel == nBitsPerPixel)
            return &kind;
    }
    return NULL;
}

// "16.777.216" in the German way.
CString GroupedNumber(unsigned long long n)
{
    CString str;
    str.Format(L"%I64u", n);
    for (int i = str.GetLength() - 3; i > 0; i -= 3)
        str.Insert(i, L'.');
    return str;
}

} // namespace

BOOL MakeGalleryPicture(int nBitsPerPixel, CDIBitmap& dib)
{
    const PictureKind* pKind = FindPicture(nBitsPerPixel);
    if (pKind == NULL)
        return FALSE;
    CPictureBuffer picture(nBitsPerPixel);
    pKind->pfnDraw(picture);
    return picture.CreateIn(dib);
}

CString GalleryPictureTitle(int nBitsPerPixel)
{
    const PictureKind* pKind = FindPicture(nBitsPerPixel);
    return pKind != NULL ? CString(pKind->pszTitle) : CString();
}

CString ColorCountText(const CDIBitmap& dib)
{
    int nBits = dib.GetBitsPerPixel();
    if (nBits > 8) {
        // The masks say how many bits carry colour (5-5-5 or 5-6-5 for 16).
        DWORD masks[3] = {0, 0, 0};
        int nMaskBits = 0;
        if (dib.GetColorMask(masks)) {
            for (DWORD mask : masks) {
                for (; mask != 0; mask &= mask - 1)
                    ++nMaskBits;
            }
        }
        nBits = nMaskBits > 0 ? nMaskBits : (nBits == 16 ? 15 : 24);
        nBits = std::min(nBits, 24);
    }
    if (nBits >= 24)
        return L"16,7 Mio. Farben";
    return GroupedNumber(1ull << nBits) + L" Farben";
}
