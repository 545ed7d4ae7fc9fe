// Image scaling and loading against the platform's own halftone stretch.
//
// Each case runs a few times and reports its best time, the megapixels per second
// (destination pixels for scaling, image pixels for loading) and its time as a
// multiple of a StretchBlt HALFTONE between 32-bit DIB sections of the same source
// and destination sizes, measured in the same run.
#include <stdio.h>
#include <stdlib.h>

#include <functional>
#include <vector>

#include "bench/window_bench.h"
#include "framework/framework.h"
#include "toolkit/core/bitmap.h"

namespace {

const int kRuns = 15;
int kRunsOverride = 0;  // when set, Best runs this many times
const int kSide = 1024;

// Best of kRuns; prepare() runs untimed before each run.
double Best(const std::function<void()>& prepare, const std::function<bool()>& run, bool& ok)
{
    double best = 1e30;
    ok = true;
    for (int i = 0; i < (kRunsOverride ? kRunsOverride : kRuns); i++)
    {
        prepare();
        double t0 = BenchNow();
        if (!run())
            ok = false;
        double t = BenchNow() - t0;
        if (t < best)
            best = t;
    }
    return best;
}

struct Section
{
    HDC dc = NULL;
    HBITMAP bmp = NULL;
    HGDIOBJ old = NULL;
    DWORD* bits = NULL;
    Section(int cx, int cy)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = cx;
        bi.bmiHeader.biHeight = -cy;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        HDC screen = GetDC(NULL);
        dc = CreateCompatibleDC(screen);
        ReleaseDC(NULL, screen);
        void* pv = NULL;
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &pv, NULL, 0);
        bits = (DWORD*)pv;
        old = SelectObject(dc, bmp);
    }
    ~Section()
    {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
};

// StretchBlt HALFTONE between 32-bit DIB sections of the given sizes.
class Halftone
{
public:
    Halftone(int cxSrc, int cySrc, int cxDst, int cyDst)
        : m_src(cxSrc, cySrc), m_dst(cxDst, cyDst), m_cxSrc(cxSrc), m_cySrc(cySrc), m_cxDst(cxDst), m_cyDst(cyDst)
    {
        for (int i = 0; i < cxSrc * cySrc; i++)
            m_src.bits[i] = (DWORD)(i * 2654435761u);
        SetStretchBltMode(m_dst.dc, HALFTONE);
        SetBrushOrgEx(m_dst.dc, 0, 0, NULL);
    }
    bool Run()
    {
        BOOL b = StretchBlt(m_dst.dc, 0, 0, m_cxDst, m_cyDst, m_src.dc, 0, 0, m_cxSrc, m_cySrc, SRCCOPY);
        GdiFlush();
        return b != FALSE;
    }

private:
    Section m_src, m_dst;
    int m_cxSrc, m_cySrc, m_cxDst, m_cyDst;
};

double HalftoneReference(int cxSrc, int cySrc, int cxDst, int cyDst)
{
    Halftone h(cxSrc, cySrc, cxDst, cyDst);
    bool ok = true;
    return Best([] {}, [&] { return h.Run(); }, ok);
}

// Best times of a case and of its reference, run turn about so that both see the same
// load on the machine.
void BestOfBoth(const std::function<void()>& prepare, const std::function<bool()>& run, Halftone& ref, double& tRun,
                double& tRef, bool& ok)
{
    tRun = tRef = 1e30;
    ok = true;
    for (int i = 0; i < kRuns; i++)
    {
        bool b1 = true, b2 = true;
        kRunsOverride = 1;
        double t = Best(prepare, run, b1);
        double r = Best([] {}, [&] { return ref.Run(); }, b2);
        kRunsOverride = 0;
        ok = ok && b1 && b2;
        if (t < tRun)
            tRun = t;
        if (r < tRef)
            tRef = r;
    }
}

// A bottom-up BITMAPFILEHEADER + BITMAPINFOHEADER for a side x side image whose pixel bits
// (bitsSize bytes) follow at once.
std::vector<BYTE> BmpHeaders(int side, BYTE bitCount, DWORD bitsSize)
{
    std::vector<BYTE> data;
    auto put32 = [&](DWORD d) {
        for (int i = 0; i < 4; i++)
            data.push_back((BYTE)(d >> (8 * i)));
    };
    data.push_back('B');
    data.push_back('M');
    put32(54 + bitsSize);
    put32(0);
    put32(54);
    put32(40);
    put32((DWORD)side);
    put32((DWORD)side);
    data.push_back(1);
    data.push_back(0);
    data.push_back(bitCount);
    data.push_back(0);
    put32(BI_RGB);
    put32(bitsSize);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    return data;
}

std::vector<BYTE> Bmp32(int side)
{
    const DWORD bitsSize = (DWORD)side * (DWORD)side * 4;
    std::vector<BYTE> data = BmpHeaders(side, 32, bitsSize);
    size_t at = data.size();
    data.resize(at + bitsSize);
    for (DWORD i = 0; i < bitsSize; i++)
        data[at + i] = (i & 3) == 3 ? (BYTE)((i >> 4) ^ (i >> 13)) : (BYTE)((i * 7) ^ (i >> 9));
    return data;
}

std::vector<BYTE> Bmp24(int side)
{
    const DWORD stride = (DWORD)((side * 3 + 3) & ~3);
    const DWORD bitsSize = stride * (DWORD)side;
    std::vector<BYTE> data = BmpHeaders(side, 24, bitsSize);
    size_t at = data.size();
    data.resize(at + bitsSize);
    for (DWORD i = 0; i < bitsSize; i++)
        data[at + i] = (BYTE)((i * 7) ^ (i >> 9));
    return data;
}

void Report(const char* name, double seconds, double megapixels, double reference, bool ok)
{
    printf("%-34s %9.2f ms %9.1f MP/s   x%6.2f of StretchBlt HALFTONE (%.2f ms)%s\n", name, seconds * 1000.0,
           megapixels / seconds, seconds / reference, reference * 1000.0, ok ? "" : "   FAILED");
}

}  // namespace

int main()
{
    printf("CExtBitmap scaling (32 bits with alpha) and loading, %dx%d source, best of %d runs\n", kSide, kSide,
           kRuns);

    std::vector<BYTE> bmp24 = Bmp24(kSide);
    std::vector<BYTE> bmp32 = Bmp32(kSide);
    CExtBitmap source;
    if (!source.LoadFromBuffer(bmp32.data(), (DWORD)bmp32.size()))
    {
        printf("could not build the source image\n");
        return 1;
    }

    const double refSame = HalftoneReference(kSide, kSide, kSide, kSide);

    struct Case
    {
        const char* name;
        int filter;
        int cx;
    } cases[] = {
        {"Lanczos  1024 -> 512", CExtBitmap::__FT_LANCZOS, kSide / 2},
        {"Bicubic  1024 -> 512", CExtBitmap::__FT_BICUBIC, kSide / 2},
        {"Box      1024 -> 512", CExtBitmap::__FT_BOX, kSide / 2},
        {"Lanczos  1024 -> 2048", CExtBitmap::__FT_LANCZOS, kSide * 2},
        {"Bicubic  1024 -> 2048", CExtBitmap::__FT_BICUBIC, kSide * 2},
        {"Box      1024 -> 2048", CExtBitmap::__FT_BOX, kSide * 2},
    };
    int failures = 0;
    for (const Case& c : cases)
    {
        CExtBitmap work;
        CExtBitmap::Filter filter(c.filter);
        bool ok = true;
        Halftone halftone(kSide, kSide, c.cx, c.cx);
        double t = 0.0, ref = 0.0;
        BestOfBoth([&] { work.AssignFrom(source); }, [&] { return work.Scale(c.cx, c.cx, filter); }, halftone, t, ref,
                   ok);
        double mp = (double)c.cx * (double)c.cx / 1e6;
        Report(c.name, t, mp, ref, ok);
        if (!ok)
            failures++;
    }

    bool ok = true;
    double t = Best([] {}, [&] {
        CExtBitmap loaded;
        return loaded.LoadFromBuffer(bmp24.data(), (DWORD)bmp24.size());
    }, ok);
    Report("Load 24-bit BMP 1024x1024", t, (double)kSide * kSide / 1e6, refSame, ok);
    if (!ok)
        failures++;
    return failures == 0 ? 0 : 1;
}
