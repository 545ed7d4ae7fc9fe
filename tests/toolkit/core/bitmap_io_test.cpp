// BMP streams: the reader against hand-made streams of every header size, depth,
// compression and row order; round trips through the archive, file and buffer forms;
// damaged and truncated streams.
#include <gtest/gtest.h>

#include <stdlib.h>

#include "bmp_builder.h"
#include "support/archive_bytes.h"
#include "support/dib_canvas.h"

using testsupport::DibCanvas;

using namespace bmptest;
using testsupport::StoredBytes;

namespace {

// The block of an image, reached through a subclass (the writer works on blocks).
class BlockAccess : public CExtBitmap
{
public:
    static LPBITMAPINFOHEADER Of(const CExtBitmap& bmp) { return bmp.*(&BlockAccess::m_pImageBuffer); }
};

LPBITMAPINFOHEADER BlockOf(const CExtBitmap& bmp)
{
    return BlockAccess::Of(bmp);
}

bool SamePixels(const CExtBitmap& a, const CExtBitmap& b)
{
    if (a.GetSize() != b.GetSize())
        return false;
    CSize sz = a.GetSize();
    for (int y = 0; y < sz.cy; y++)
        for (int x = 0; x < sz.cx; x++)
            if (Argb(a, x, y) != Argb(b, x, y))
                return false;
    return true;
}

// Draws the palette image and a checkerboard of pixel values through Make32 so that
// palette images can be compared too.
bool SameAs32(const CExtBitmap& a, const CExtBitmap& b)
{
    CExtBitmap a32(a), b32(b);
    return a32.Make32() && b32.Make32() && SamePixels(a32, b32);
}

std::vector<BYTE> Rows(int cx, int cy, int bpp, unsigned seed)
{
    int stride = ((cx * bpp + 7) / 8 + 3) & ~3;
    std::vector<BYTE> v((size_t)stride * cy);
    srand(seed);
    for (BYTE& b : v)
        b = (BYTE)(rand() & 0xFF);
    return v;
}

}  // namespace

TEST(BitmapIo, SerializeRoundTripEveryDepth) {
    const int depths[] = {1, 4, 8, 16, 24, 32};
    for (int bpp : depths) {
        for (int variant = 0; variant < 2; variant++) {
            SCOPED_TRACE(testing::Message() << bpp << " bpp, variant " << variant);
            BmpLayout s;
            s.width = 13;
            s.height = 5;
            s.bpp = bpp;
            if (bpp <= 8) {
                for (int i = 0; i < (1 << bpp); i++)
                    s.palette.push_back(Quad((BYTE)(i * 7), (BYTE)(255 - i), (BYTE)(i * 3), 0));
                s.clrUsed = (DWORD)s.palette.size();
            }
            s.bits = Rows(s.width, s.height, bpp, 100 + bpp);
            if (variant == 1 && bpp == 8) {
                // long runs so that the RLE8 writer uses encoded runs as well as literals
                for (size_t i = 0; i < s.bits.size(); i++)
                    s.bits[i] = (BYTE)((i / 6) % 3);
            }
            if (bpp == 16) {
                SetBitFields565(s);
            }
            std::vector<BYTE> data = Build(s);
            CExtBitmap src;
            ASSERT_TRUE(src.LoadFromBuffer(data.data(), (DWORD)data.size()));

            CMemFile file;
            {
                CArchive ar(&file, CArchive::store);
                src.Serialize(ar);
                ar.Close();
            }
            file.SeekToBegin();
            CExtBitmap back;
            {
                CArchive ar(&file, CArchive::load);
                back.Serialize(ar);
            }
            ASSERT_FALSE(back.IsEmpty());
            EXPECT_EQ(bpp, back.GetBPP());
            EXPECT_TRUE(SameAs32(src, back));
            if (bpp == 16) {
                // the 5-6-5 masks travel with the stream
                EXPECT_TRUE(SamePixels(src, back));
            }

            // the plain stream (RLE8 and uncompressed) through a file and a buffer
            for (bool rle : {false, true}) {
                SCOPED_TRACE(rle ? "RLE8 asked for" : "uncompressed");
                std::vector<BYTE> bytes =
                    StoredBytes([&](CArchive& ar) { CExtBitmap::WriteBMP(BlockOf(src), ar, true, rle); });
                DWORD compression = 0;
                memcpy(&compression, &bytes[14 + 16], 4);
                EXPECT_EQ(rle && bpp == 8 ? (DWORD)BI_RLE8 : bpp == 16 ? (DWORD)BI_BITFIELDS : (DWORD)BI_RGB,
                          compression);
                CExtBitmap fromBuffer;
                ASSERT_TRUE(fromBuffer.LoadFromBuffer(bytes.data(), (DWORD)bytes.size()));
                EXPECT_TRUE(SameAs32(src, fromBuffer));

                char dir[MAX_PATH], path[MAX_PATH];
                GetTempPathA(MAX_PATH, dir);
                GetTempFileNameA(dir, "bmp", 0, path);
                {
                    CFile f(path, CFile::modeCreate | CFile::modeWrite);
                    f.Write(bytes.data(), (UINT)bytes.size());
                }
                CExtBitmap fromFile;
                {
                    CFile f(path, CFile::modeRead);
                    ASSERT_TRUE(fromFile.LoadFromFile(f));
                }
                DeleteFileA(path);
                EXPECT_EQ(bpp, fromFile.GetBPP());
                EXPECT_TRUE(SameAs32(src, fromFile));
            }
        }
    }
}

TEST(BitmapIo, SerializeEmptyAndFlags) {
    CExtBitmap empty;
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        empty.Serialize(ar);
        ar.Close();
    }
    EXPECT_EQ(4u, (UINT)file.GetLength());
    file.SeekToBegin();
    CExtBitmap back;
    ASSERT_TRUE(Make32(back, 2, 2, [](int, int) { return 0xFF000000u; }));
    CArchive ar(&file, CArchive::load);
    back.Serialize(ar);
    EXPECT_TRUE(back.IsEmpty());
}

TEST(BitmapIo, WriterLayout) {
    // an 8-bit row of 300 equal pixels is written as runs of 255 and 45
    BmpLayout s;
    s.width = 300;
    s.height = 1;
    s.bpp = 8;
    s.palette.resize(256);
    s.clrUsed = 256;
    s.bits.assign(300, 7);
    s.bits.resize(300, 0);
    std::vector<BYTE> data = Build(s);
    CExtBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
    std::vector<BYTE> out = StoredBytes([&](CArchive& ar) { bmp.Serialize(ar); });
    ASSERT_EQ(4u + 14u + 40u + 1024u + 8u, out.size());
    EXPECT_EQ('B', out[4]);
    EXPECT_EQ('M', out[5]);
    DWORD offBits, fileSize, compression, sizeImage;
    memcpy(&fileSize, &out[4 + 2], 4);
    memcpy(&offBits, &out[4 + 10], 4);
    memcpy(&compression, &out[4 + 14 + 16], 4);
    memcpy(&sizeImage, &out[4 + 14 + 20], 4);
    EXPECT_EQ(54u + 1024u, offBits);
    EXPECT_EQ(54u + 1024u + 8u, fileSize);  // the true size of the codes
    EXPECT_EQ((DWORD)BI_RLE8, compression);
    EXPECT_EQ(8u, sizeImage);
    const BYTE expected[8] = {255, 7, 45, 7, 0, 0, 0, 1};
    EXPECT_EQ(0, memcmp(expected, &out[out.size() - 8], 8));

    // literals: 1 and 2 bytes as runs of 1, three and more as an absolute run with padding
    BmpLayout lit = s;
    lit.width = 8;
    lit.bits = {1, 2, 2, 3, 4, 5, 9, 9};
    data = Build(lit);
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
    CMemFile file2;
    {
        CArchive ar(&file2, CArchive::store);
        CExtBitmap::WriteBMP(NULL, ar);  // nothing for no block
        bmp.Serialize(ar);
        ar.Close();
    }
    out.resize((size_t)file2.GetLength());
    file2.SeekToBegin();
    file2.Read(out.data(), (UINT)out.size());
    // 1 2 2 3 4 5 9 9 -> one literal run of all eight (pairs go into the literal buffer)
    const BYTE codes[] = {0, 8, 1, 2, 2, 3, 4, 5, 9, 9, 0, 0, 0, 1};
    ASSERT_GE(out.size(), sizeof(codes));
    EXPECT_EQ(0, memcmp(codes, &out[out.size() - sizeof(codes)], sizeof(codes)));
}

TEST(BitmapIo, FileAndBufferForms) {
    CExtBitmap src;
    ASSERT_TRUE(Make32(src, 7, 3, [](int x, int y) { return (DWORD)(0x11000000u * (x + 1) + y * 0x010203u); }));
    char path[MAX_PATH], dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "bmp", 0, path);
    {
        // the file is Serialize's stream without its 4-byte flag: a plain BMP file
        std::vector<BYTE> bytes = StoredBytes([&](CArchive& ar) { src.Serialize(ar); });
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        f.Write(bytes.data() + 4, (UINT)bytes.size() - 4);
        f.Close();

        // the buffer form of the same bytes
        CExtBitmap fromBuffer;
        ASSERT_TRUE(fromBuffer.LoadFromBuffer(bytes.data() + 4, (DWORD)bytes.size() - 4));
        EXPECT_TRUE(SamePixels(src, fromBuffer));
        // without the file header, as resources store it
        CExtBitmap noHeader;
        ASSERT_TRUE(noHeader.LoadFromBuffer(bytes.data() + 4 + 14, (DWORD)bytes.size() - 18, false, false, true));
        EXPECT_TRUE(SamePixels(src, noHeader));
    }
    CFile f(path, CFile::modeRead);
    CExtBitmap fromFile;
    ASSERT_TRUE(fromFile.LoadFromFile(f));
    f.Close();
    EXPECT_TRUE(SamePixels(src, fromFile));
    DeleteFileA(path);

    CExtBitmap none;
    EXPECT_FALSE(none.LoadFromBuffer(NULL, 10));
}

TEST(BitmapIo, HeaderSizes) {
    // 5-6-5 bit fields inside the 108 and 124-byte headers, after the 40-byte one
    for (DWORD hs : {40u, 108u, 124u}) {
        for (bool fileHeader : {true, false}) {
            SCOPED_TRACE(testing::Message() << "header " << hs << (fileHeader ? " with" : " without")
                                            << " file header");
            BmpLayout s;
            s.headerSize = hs;
            s.fileHeader = fileHeader;
            s.width = 2;
            s.height = 1;
            s.bpp = 16;
            SetBitFields565(s);
            Put16(s.bits, 0x07E0);
            Put16(s.bits, 0xF81F);
            std::vector<BYTE> data = Build(s);
            CExtBitmap bmp;
            ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size(), false, false, !fileHeader));
            EXPECT_EQ(0xFF00FF00u, Argb(bmp, 0, 0));
            EXPECT_EQ(0xFFFF00FFu, Argb(bmp, 1, 0));
        }
    }
    // the same pixels as 5-5-5 without bit fields
    BmpLayout s;
    s.width = 1;
    s.bpp = 16;
    Put16(s.bits, 0x03E0);
    Put16(s.bits, 0);
    std::vector<BYTE> data = Build(s);
    CExtBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
    EXPECT_EQ(0xFF00FF00u, Argb(bmp, 0, 0));

    // a 124-byte header with a palette (as resource compilers write them)
    BmpLayout p;
    p.headerSize = 124;
    p.width = 2;
    p.bpp = 8;
    p.clrUsed = 2;
    p.palette = {Quad(1, 2, 3), Quad(4, 5, 6)};
    p.bits = {1, 0, 0, 0};
    data = Build(p);
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
    ASSERT_TRUE(bmp.Make32());
    EXPECT_EQ(0xFF040506u, Argb(bmp, 0, 0));
    EXPECT_EQ(0xFF010203u, Argb(bmp, 1, 0));

    // smaller than 40 bytes (an OS/2 core header) fails
    BmpLayout core;
    core.headerSize = 12;
    data = Build(core);
    EXPECT_FALSE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
    EXPECT_TRUE(bmp.IsEmpty());

    // the signature is not checked
    s.width = 1;
    data = Build(s);
    data[0] = 'X';
    data[1] = 'Y';
    EXPECT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
}

TEST(BitmapIo, PixelsFromOffBits) {
    // a gap between the palette and the rows, said by bfOffBits
    BmpLayout s;
    s.width = 2;
    s.height = 1;
    s.bpp = 24;
    s.gapBeforeBits = 10;
    s.bits = {1, 2, 3, 4, 5, 6, 0, 0};
    std::vector<BYTE> data = Build(s);
    CExtBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
    EXPECT_EQ(0xFF030201u, Argb(bmp, 0, 0));
    EXPECT_EQ(0xFF060504u, Argb(bmp, 1, 0));
    // an implausible bfOffBits (far beyond the data, or inside the headers) is ignored
    s.gapBeforeBits = 0;
    for (DWORD off : {10u, 0x7FFFFFFFu}) {
        data = Build(s);
        memcpy(&data[10], &off, 4);
        ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
        EXPECT_EQ(0xFF030201u, Argb(bmp, 0, 0));
    }
}

TEST(BitmapIo, ColourTableOfHighColourImages) {
    // a 24-bit image may carry an optional colour table; the rows follow it
    BmpLayout s;
    s.width = 1;
    s.bpp = 24;
    s.clrUsed = 2;
    s.palette = {Quad(9, 9, 9), Quad(8, 8, 8)};
    s.bits = {1, 2, 3, 0};
    for (bool fileHeader : {true, false}) {
        SCOPED_TRACE(fileHeader ? "with file header" : "without");
        s.fileHeader = fileHeader;
        std::vector<BYTE> data = Build(s);
        CExtBitmap bmp;
        ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size(), false, false, !fileHeader));
        EXPECT_EQ(0xFF030201u, Argb(bmp, 0, 0));
    }
}

TEST(BitmapIo, TopDownRowsOfEveryDepth) {
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bpp);
        BmpLayout up, down;
        up.width = down.width = 3;
        up.height = 4;
        down.height = -4;
        up.bpp = down.bpp = bpp;
        if (bpp <= 8) {
            for (int i = 0; i < (1 << bpp); i++)
                up.palette.push_back(Quad((BYTE)i, (BYTE)(i * 5), (BYTE)(255 - i)));
            down.palette = up.palette;
        }
        up.bits = Rows(3, 4, bpp, 7 + bpp);
        int stride = (int)CExtBitmap::GetStride(3, bpp);
        for (int r = 3; r >= 0; r--)
            down.bits.insert(down.bits.end(), up.bits.begin() + r * stride, up.bits.begin() + (r + 1) * stride);
        std::vector<BYTE> d1 = Build(up), d2 = Build(down);
        CExtBitmap a, b;
        ASSERT_TRUE(a.LoadFromBuffer(d1.data(), (DWORD)d1.size(), true));
        ASSERT_TRUE(b.LoadFromBuffer(d2.data(), (DWORD)d2.size(), true));
        EXPECT_EQ(CSize(3, 4), b.GetSize());
        EXPECT_TRUE(SamePixels(a, b));
    }
}

TEST(BitmapIo, Rle8) {
    BmpLayout s;
    s.width = 6;
    s.height = 3;
    s.bpp = 8;
    s.compression = BI_RLE8;
    for (int i = 0; i < 256; i++)
        s.palette.push_back(Quad((BYTE)i, (BYTE)i, (BYTE)i));
    s.bits = {
        3, 9,                // bottom row: 9 9 9
        0, 3, 1, 2, 3, 0,    // absolute run 1 2 3 + padding
        0, 0,                // end of line
        0, 2, 2, 1,          // delta: x + 2, y + 1 -> row 2 at x 2
        10, 5,               // run of 10 clipped to the 4 pixels left
        0, 7, 1, 2, 3, 4, 5, 6, 7, 0,  // absolute run past the row's end: read and dropped
        0, 1,
    };
    std::vector<BYTE> data = Build(s);
    CExtBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size(), true));
    auto v = [&](int x, int y) { return (int)(Argb(bmp, x, y) & 0xFF); };
    // image row 2 is the bottom block row
    const int bottom[6] = {9, 9, 9, 1, 2, 3};
    const int top[6] = {0, 0, 5, 5, 5, 5};
    for (int x = 0; x < 6; x++) {
        EXPECT_EQ(bottom[x], v(x, 2)) << x;
        EXPECT_EQ(0, v(x, 1)) << x;
        EXPECT_EQ(top[x], v(x, 0)) << x;
    }

    // an absolute run longer than the row keeps what fits and stays in step
    BmpLayout w = s;
    w.width = 2;
    w.height = 2;
    w.bits = {0, 5, 1, 2, 3, 4, 5, 0, 0, 0, 2, 8, 0, 1};
    data = Build(w);
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size(), true));
    EXPECT_EQ(1, v(0, 1));
    EXPECT_EQ(2, v(1, 1));
    EXPECT_EQ(8, v(0, 0));
    EXPECT_EQ(8, v(1, 0));

    // RLE8 only with 8 bits per pixel: a 4-bit image claiming it keeps zero rows
    BmpLayout f = s;
    f.bpp = 4;
    f.palette.resize(16);
    f.palette[0] = Quad(50, 60, 70);
    data = Build(f);
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size(), true));
    EXPECT_EQ(0xFF323C46u, Argb(bmp, 0, 0));
}

TEST(BitmapIo, Rle4) {
    BmpLayout s;
    s.width = 5;
    s.height = 2;
    s.bpp = 4;
    s.compression = BI_RLE4;
    for (int i = 0; i < 16; i++)
        s.palette.push_back(Quad((BYTE)(i * 16), (BYTE)i, 0));
    s.bits = {
        5, 0x12,              // 1 2 1 2 1
        0, 0,
        0, 3, 0xAB, 0xC0,     // absolute run A B C (two data bytes, no padding)
        4, 0x77,              // 7 7: the last two reach past the width and are dropped
        0, 0,
        3, 0xEE,              // above the image: decoding ends
        0, 1,
    };
    std::vector<BYTE> data = Build(s);
    CExtBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size(), true));
    auto v = [&](int x, int y) { return (int)((Argb(bmp, x, y) >> 16) & 0xFF) / 16; };
    const int bottom[5] = {1, 2, 1, 2, 1};
    const int top[5] = {10, 11, 12, 7, 7};
    for (int x = 0; x < 5; x++) {
        EXPECT_EQ(bottom[x], v(x, 1)) << x;
        EXPECT_EQ(top[x], v(x, 0)) << x;
    }
    // Runs that start on an odd pixel: an encoded run still begins with the high nibble
    // of its value, an absolute run with the high nibble of its first data byte, and the
    // absolute run reads exactly its ceil(n / 2) bytes so that the next row is in step.
    BmpLayout o = s;
    o.width = 8;
    o.height = 2;
    o.bits = {
        3, 0x12,              // 1 2 1
        2, 0x34,              // 3 4 from pixel 3
        0, 3, 0x56, 0x70,     // 5 6 7 from pixel 5
        0, 0,
        8, 0x9A,              // 9 A 9 A ...
        0, 1,
    };
    data = Build(o);
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size(), true));
    const int odd[8] = {1, 2, 1, 3, 4, 5, 6, 7};
    for (int x = 0; x < 8; x++) {
        EXPECT_EQ(odd[x], v(x, 1)) << "odd starts, " << x;
        EXPECT_EQ((x & 1) ? 10 : 9, v(x, 0)) << "row after, " << x;
    }

    // RLE4 claimed by an 8-bit image: rows stay zero
    s.bpp = 8;
    s.palette.resize(256);
    data = Build(s);
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size(), true));
    EXPECT_EQ(0xFF000000u, Argb(bmp, 0, 0));
    EXPECT_EQ(0xFF000000u, Argb(bmp, 4, 1));
}

TEST(BitmapIo, PaletteCountsAndDamagedHeaders) {
    // 4-bit with biClrUsed 3: three entries read, the image's palette still has 16
    BmpLayout s;
    s.width = 4;
    s.bpp = 4;
    s.clrUsed = 3;
    s.palette = {Quad(1, 1, 1), Quad(2, 2, 2), Quad(3, 3, 3)};
    s.bits = {0x01, 0x2F, 0, 0};
    std::vector<BYTE> data = Build(s);
    CExtBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size(), true));
    EXPECT_EQ(0xFF010101u, Argb(bmp, 0, 0));
    EXPECT_EQ(0xFF030303u, Argb(bmp, 2, 0));
    EXPECT_EQ(0xFF000000u, Argb(bmp, 3, 0));  // entry 15 was never read: black

    struct Bad { const char* what; int cx, cy, bpp; } bad[] = {
        {"zero width", 0, 1, 24}, {"negative width", -4, 1, 24}, {"zero height", 4, 0, 24},
        {"huge", 40000, 40000, 32}, {"huge top-down", 100, -40000, 8}, {"depth 2", 4, 4, 2},
        {"depth 64", 1, 1, 64}, {"most negative height", 4, (int)0x80000000, 24},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.what);
        BmpLayout d;
        d.width = b.cx;
        d.height = b.cy;
        d.bpp = b.bpp;
        d.bits.assign(64, 0x5A);
        data = Build(d);
        EXPECT_FALSE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
        EXPECT_TRUE(bmp.IsEmpty());
    }
}

TEST(BitmapIo, TruncatedStreams) {
    CExtBitmap src;
    ASSERT_TRUE(Make32(src, 4, 4, [](int, int) { return 0xFF112233u; }));
    std::vector<BYTE> bytes = StoredBytes([&](CArchive& ar) { src.Serialize(ar); });
    const BYTE* bmpBytes = bytes.data() + 4;
    const DWORD full = (DWORD)bytes.size() - 4;
    // headers cut: nothing
    CExtBitmap bmp;
    EXPECT_FALSE(bmp.LoadFromBuffer(bmpBytes, 30));
    // rows cut: the image keeps what arrived (rows are bottom-up), the rest is zero
    ASSERT_TRUE(bmp.LoadFromBuffer(bmpBytes, full - 16 * 2));
    EXPECT_EQ(0xFF112233u, Argb(bmp, 0, 3));
    EXPECT_EQ(0xFF112233u, Argb(bmp, 0, 2));
    EXPECT_EQ(0u, Argb(bmp, 0, 1));
    EXPECT_EQ(0u, Argb(bmp, 3, 0));

    // the archive form throws instead: the stream cannot be followed past a bad image
    CMemFile cut(bytes.data(), (UINT)bytes.size() - 8);
    CArchive ar(&cut, CArchive::load);
    CExtBitmap fromArchive;
    bool bThrown = false;
    try {
        fromArchive.Serialize(ar);
    } catch (CException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
    EXPECT_TRUE(fromArchive.IsEmpty());
}

TEST(BitmapIo, MutatedStreamsNeverCrash) {
    // valid streams of every kind, damaged at random in a bounded number of ways
    std::vector<std::vector<BYTE>> seeds;
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        BmpLayout s;
        s.width = 9;
        s.height = (bpp % 3) ? 5 : -5;
        s.bpp = bpp;
        if (bpp <= 8)
            for (int i = 0; i < (1 << bpp); i++)
                s.palette.push_back(Quad((BYTE)i, 0, 0));
        if (bpp == 16) {
            SetBitFields565(s);
            s.headerSize = 108;
        }
        s.bits = Rows(9, 5, bpp, bpp);
        seeds.push_back(Build(s));
    }
    {
        BmpLayout r;
        r.width = 8;
        r.height = 4;
        r.bpp = 8;
        r.compression = BI_RLE8;
        r.palette.resize(256);
        r.bits = {4, 1, 0, 3, 1, 2, 3, 0, 0, 0, 2, 1, 1, 0, 0, 1};
        seeds.push_back(Build(r));
        r.bpp = 4;
        r.compression = BI_RLE4;
        r.palette.resize(16);
        seeds.push_back(Build(r));
    }
    // Each damaged stream sits at the very end of readable memory: one byte read past
    // it touches a no-access page and the test dies there.
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    const SIZE_T page = si.dwPageSize, span = 16 * page;
    BYTE* region = (BYTE*)VirtualAlloc(NULL, span + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    ASSERT_TRUE(region != NULL);
    DWORD oldProtect = 0;
    ASSERT_TRUE(VirtualProtect(region + span, page, PAGE_NOACCESS, &oldProtect));
    srand(12345);
    int loaded = 0;
    for (int round = 0; round < 3000; round++) {
        std::vector<BYTE> d = seeds[round % seeds.size()];
        int edits = 1 + rand() % 6;
        for (int e = 0; e < edits; e++) {
            size_t at = (size_t)rand() % d.size();
            switch (rand() % 4) {
            case 0: d[at] = (BYTE)rand(); break;
            case 1: d[at] ^= (BYTE)(1 << (rand() % 8)); break;
            case 2: d[at] = (rand() & 1) ? 0xFF : 0x00; break;
            default: d.resize(at + 1); break;
            }
        }
        ASSERT_LE(d.size(), span);
        BYTE* at = region + span - d.size();
        memcpy(at, d.data(), d.size());
        CExtBitmap bmp;
        if (bmp.LoadFromBuffer(at, (DWORD)d.size(), (round & 1) != 0, false, (round % 7) == 0))
            loaded++;
        CSize sz = bmp.GetSize();
        if (!bmp.IsEmpty()) {
            EXPECT_GT(sz.cx, 0);
            EXPECT_GT(sz.cy, 0);
            EXPECT_LE(sz.cx, 32768);
            bmp.GetPixelColor(sz.cx - 1, sz.cy - 1);
        }
    }
    EXPECT_GT(loaded, 100);  // damage is not all fatal: most streams still give an image
    VirtualFree(region, 0, MEM_RELEASE);
}

TEST(BitmapIo, ResourceForms) {
    CExtBitmap bmp;
    EXPECT_FALSE(bmp.LoadFromResource(MAKEINTRESOURCE(4321)));
    EXPECT_TRUE(bmp.IsEmpty());
    bool bThrown = false;
    try {
        bmp.LoadFromResource(MAKEINTRESOURCE(4321), RT_BITMAP, NULL, false, true);
    } catch (CException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
}

TEST(BitmapIo, LoadsResourceBitmaps) {
    // an 8-bit image with a 124-byte header
    CExtBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromResource(MAKEINTRESOURCE(0x6B01), RT_BITMAP, GetModuleHandle(NULL)));
    EXPECT_EQ(8, bmp.GetBPP());
    EXPECT_EQ(CSize(5, 3), bmp.GetSize());
    ASSERT_TRUE(bmp.Make32());
    EXPECT_EQ(0xFF0A141Eu, Argb(bmp, 0, 0));
    EXPECT_EQ(0xFFFF00FFu, Argb(bmp, 3, 0));
    EXPECT_EQ(0xFFC86432u, Argb(bmp, 2, 1));
    EXPECT_EQ(0xFF00FF00u, Argb(bmp, 1, 2));
    // the module is found when none is given; Make32 on the way
    ASSERT_TRUE(bmp.LoadFromResource(MAKEINTRESOURCE(0x6B01), RT_BITMAP, NULL, true));
    EXPECT_EQ(32, bmp.GetBPP());
    // a top-down 32-bit image whose bit fields sit in a 108-byte header
    HRSRC hRsrc = FindResource(GetModuleHandle(NULL), MAKEINTRESOURCE(0x6B02), RT_BITMAP);
    ASSERT_TRUE(hRsrc != NULL);
    ASSERT_TRUE(bmp.LoadFromResource(GetModuleHandle(NULL), hRsrc));
    EXPECT_EQ(CSize(2, 2), bmp.GetSize());
    EXPECT_EQ(0x80FF0000u, Argb(bmp, 0, 0));
    EXPECT_EQ(0xFF00FF00u, Argb(bmp, 1, 0));
    EXPECT_EQ(0x400000FFu, Argb(bmp, 0, 1));
    // the bit fields give no alpha mask: the image is drawn opaquely until Make32
    DibCanvas canvas(2, 2, RGB(0, 0, 0));
    RECT rc = {0, 0, 2, 2};
    bmp.AlphaBlendWhole(canvas.Dc(), rc);
    EXPECT_EQ(RGB(0, 0, 255), canvas.Pixel(0, 1));
    ASSERT_TRUE(bmp.Make32());
    bmp.AlphaBlendWhole(canvas.Dc(), rc);
    EXPECT_EQ(RGB(0, 0, 255), canvas.Pixel(0, 1));  // blue over blue
    canvas.Fill(RGB(0, 0, 0));
    bmp.AlphaBlendWhole(canvas.Dc(), rc);
    EXPECT_LE(abs(64 - (int)GetBValue(canvas.Pixel(0, 1))), 1);
    EXPECT_FALSE(bmp.LoadFromResource(GetModuleHandle(NULL), (HRSRC)NULL));
}
