// Date-time, IP address, font, picture, file, folder and hyperlink cells; the root
// cell's text VARIANT.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "framework/framework.h"
#include "support/archive_bytes.h"
#include "support/dib_canvas.h"
#include "toolkit/grid/grid_cell_datetime.h"
#include "toolkit/grid/grid_cell_file.h"
#include "toolkit/grid/grid_cell_font.h"
#include "toolkit/grid/grid_cell_hyperlink.h"
#include "toolkit/grid/grid_cell_ip_address.h"
#include "toolkit/grid/grid_cell_picture.h"
#include "toolkit/grid/grid_inplace_edit.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/pickers/date_picker_wnd.h"

using testsupport::StoredBytes;

namespace {

typedef std::vector<BYTE> Bytes;
void Put32(Bytes& v, DWORD d) { for (int i = 0; i < 4; i++) v.push_back((BYTE)(d >> (8 * i))); }
void PutStr(Bytes& v, const char* s)
{
    v.push_back((BYTE)strlen(s));
    v.insert(v.end(), s, s + strlen(s));
}
template <class T>
Bytes ExBytes(T& cell) { return StoredBytes([&](CArchive& ar) { cell.CExtGridCellEx::Serialize(ar); }); }
template <class T>
Bytes StringBytes(T& cell) { return StoredBytes([&](CArchive& ar) { cell.CExtGridCellString::Serialize(ar); }); }
template <class T>
Bytes CellBytes(T& cell) { return StoredBytes([&](CArchive& ar) { cell.Serialize(ar); }); }
// Loads bytes into a cell.
void Load(CExtGridCell& cell, const Bytes& bytes)
{
    CMemFile file;
    file.Write(bytes.data(), (UINT)bytes.size());
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    cell.Serialize(ar);
}
std::string Text(const CExtGridCell& cell)
{
    CString s;
    cell.TextGet(s);
    return std::string((LPCSTR)s);
}

class TextOnlyCell : public CExtGridCell
{
public:
    CString m_s;
    void TextGet(CString& s) const override { s = m_s; }
};

// A cell whose editor is a plain static window (no caret, no timers) and whose idle work
// ends the edit on its third call.
class IdleCell : public CExtGridCellString
{
    DECLARE_DYNCREATE(IdleCell)
public:
    explicit IdleCell(CExtGridDataProvider* pOwner = NULL) : CExtGridCellString(pOwner) {}
    std::vector<LONG> m_calls;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override { return ExtGridCellCloneAs<IdleCell>(*this, pMalloc); }
    HWND OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG, LONG, LONG, LONG, INT, INT, const RECT&,
                                const RECT& rcCell, const RECT&, LONG, LONG) override
    {
        return ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, rcCell.left, rcCell.top,
                                 rcCell.right - rcCell.left, rcCell.bottom - rcCell.top, wndGrid.m_hWnd, NULL, NULL,
                                 NULL);
    }
    bool OnInplaceControlIdle(HWND hWnd, CExtGridWnd&, LONG nCounter) override
    {
        m_calls.push_back(nCounter);
        if (nCounter < 2) return true;
        ::DestroyWindow(hWnd);
        return false;
    }
};
IMPLEMENT_DYNCREATE(IdleCell, CExtGridCellString)

HBITMAP SolidBitmap(int cx, int cy, COLORREF clr)
{
    testsupport::DibCanvas canvas(cx, cy, clr);
    return (HBITMAP)::CopyImage(canvas.Bitmap(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
}

}  // namespace

TEST(GridTypedCells, RootCellValueIsItsText)
{
    TextOnlyCell a, b, empty;
    a.m_s = _T("apple");
    b.m_s = _T("banana");
    VARIANT v;
    ::VariantInit(&v);
    a.VariantGet(&v);
    ASSERT_EQ(VT_BSTR, v.vt);
    EXPECT_STREQ(L"apple", v.bstrVal);
    empty.VariantGet(&v);
    EXPECT_EQ(VT_EMPTY, v.vt);
    EXPECT_EQ(-1, a.Compare(b));
    EXPECT_EQ(1, b.Compare(a));
}

TEST(GridTypedCells, ModalEditGivesTheCellIdleTimeUntilItSaysNoMore)
{
    HWND hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10, 300, 100, NULL, NULL, NULL, NULL);
    CExtGridWnd grid;
    ASSERT_TRUE(grid.Create(CWnd::FromHandle(hParent), CRect(0, 0, 280, 80), 1, CExtGridBaseWnd::GRID_SELECT_CELLS));
    grid.InsertColumns(-1, 1, false);
    grid.InsertRows(-1, 1, false);
    IdleCell proto;
    ASSERT_TRUE(grid.GridCellSet(0, 0, &proto));
    IdleCell* pCell = static_cast<IdleCell*>(grid.GridCellGet(0, 0));
    ASSERT_TRUE(pCell != NULL && pCell->IsKindOf(RUNTIME_CLASS(IdleCell)));
    grid.FocusSet(CPoint(0, 0), true, true, true, false);
    MSG msg;
    for (int i = 0; i < 1000 && ::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE); i++) ::DispatchMessage(&msg);
    const CRect rcEmpty(0, 0, 0, 0);
    EXPECT_TRUE(grid.EditCellAt(-1, -1, 0, 0, rcEmpty, rcEmpty, rcEmpty, true));
    EXPECT_EQ((std::vector<LONG>{0, 1, 2}), pCell->m_calls);
    EXPECT_EQ(nullptr, grid.GetInplaceControl());
    grid.DestroyWindow();
    ::DestroyWindow(hParent);
}

TEST(GridTypedCells, DateTimeTextPicturesCompareAndArchive)
{
    CExtGridCellDateTime cell;
    EXPECT_EQ("", Text(cell));
    EXPECT_EQ((DWORD)CExtGridCell::__EGCS_BUTTON_DROPDOWN, cell.GetStyle() & CExtGridCell::__EGCS_BUTTON_DROPDOWN);
    const struct { const char* picture; TCHAR letter; const char* sep; const char* expected; } parts[] = {
        {"dd/MM/yyyy", 'y', "/", "dd/MM"}, {"yyyy/MM/dd", 'y', "/", "MM/dd"},
        {"h:mm:ss tt", 't', " ", "h:mm:ss"}, {"H:mm", 's', ":", "H:mm"}, {"d.M.yy", 'M', ".", "d.yy"},
    };
    for (const auto& p : parts) {
        CString s(p.picture);
        CExtGridCellDateTime::stat_RemovePart(s, p.letter, p.sep);
        EXPECT_EQ(p.expected, std::string((LPCSTR)s)) << p.picture;
    }
    // The user's locale here is English (United States): M/d/yyyy and h:mm:ss tt.
    cell.SetDateTime(COleDateTime(2024, 2, 29, 13, 5, 9));
    const struct { int mode, format; const char* text; } texts[] = {
        {1, 1, "13:05:09"}, {1, 0, "1:05:09 PM"}, {2, 2, "2/29/2024"}, {0, 1, "2/29/2024 13:05:09"},
    };
    for (const auto& t : texts) {
        cell.SetMode(t.mode);
        cell.SetTimeFormat(t.format);
        EXPECT_EQ(t.text, Text(cell)) << t.mode << "/" << t.format;
    }
    cell.TextSet(_T("not a date"));
    EXPECT_EQ(COleDateTime(2024, 2, 29, 13, 5, 9), cell.GetDateTime());
    Bytes expected = ExBytes(cell);
    Put32(expected, 0);
    const double dt = cell.GetDateTime().m_dt;
    const BYTE* pdt = (const BYTE*)&dt;
    expected.insert(expected.end(), pdt, pdt + 8);
    Put32(expected, 0);
    Put32(expected, 1);
    EXPECT_EQ(expected, CellBytes(cell));
    CExtGridCellDateTime loaded;
    Load(loaded, expected);
    EXPECT_EQ(expected, CellBytes(loaded));
    // Valid dates sort before null ones; earlier before later.
    CExtGridCellDateTime empty, later;
    later.SetDateTime(COleDateTime(2025, 1, 1, 0, 0, 0));
    EXPECT_EQ(-1, cell.Compare(empty));
    EXPECT_EQ(1, empty.Compare(cell));
    EXPECT_EQ(-1, cell.Compare(later));
    EXPECT_EQ(1, later.Compare(cell));
}

TEST(GridTypedCells, DatePickedInThePopupKeepsTheTimeOfDay)
{
    CExtDatePickerWnd picker;
    picker.SelectionSet(COleDateTime(2023, 7, 14, 0, 0, 0), COleDateTime(2023, 7, 14, 0, 0, 0), false, false);
    CExtDatePickerWnd::SELECTIONNOTIFICATION snFinal(picker, true, false), snMoving(picker, false, false);
    CExtGridCellDateTime valid, null;
    valid.SetDateTime(COleDateTime(2020, 1, 2, 8, 30, 15));
    EXPECT_TRUE(valid.OnPopupDatePickerSelection(&snMoving));
    EXPECT_EQ(COleDateTime(2020, 1, 2, 8, 30, 15), valid.GetDateTime());
    EXPECT_TRUE(valid.OnPopupDatePickerSelection(&snFinal));
    EXPECT_EQ(COleDateTime(2023, 7, 14, 8, 30, 15), valid.GetDateTime());
    EXPECT_TRUE(null.OnPopupDatePickerSelection(&snFinal));
    EXPECT_EQ(COleDateTime(2023, 7, 14, 0, 0, 0), null.GetDateTime());
    EXPECT_FALSE(null.OnPopupDatePickerSelection(NULL));
}

TEST(GridTypedCells, AddressParsingSaturatesAndArchives)
{
    const struct { const char* text; bool ok; DWORD address; } cases[] = {
        {" 192 . 168 . 0 . 1 ", true, 0xC0A80001}, {"1.2.3.", true, 0x01020300}, {"300.1.1.1", true, 0xFF010101},
        {"1.2.3", false, 0}, {"4294967296.1.1.1", true, 0xFF010101}, {"99999999999999999999.0.0.1", true, 0xFF000001},
        {"-1.x.3.4", true, 0x00000304}, {"", false, 0},
    };
    for (const auto& c : cases) {
        CExtGridCellIPAddress cell;
        cell.SetAddress(0x7F000001);
        cell.TextSet(c.text);
        EXPECT_EQ(c.ok ? c.address : 0x7F000001u, cell.GetAddress()) << c.text;
        EXPECT_EQ(c.ok ? S_OK : E_FAIL, cell.OnParseText(c.text)) << c.text;
    }
    CExtGridCellIPAddress a, b;
    a.SetAddress(0x0A000001);
    b.SetAddress(0xC0A80001);
    EXPECT_EQ("10.0.0.1", Text(a));
    EXPECT_EQ(-1, a.Compare(b));
    EXPECT_EQ(1, b.Compare(a));
    VARIANT v;
    ::VariantInit(&v);
    b.VariantGet(&v);
    EXPECT_EQ(VT_UI4, v.vt);
    EXPECT_EQ(0xC0A80001u, v.ulVal);
    Bytes expected = ExBytes(b);
    Put32(expected, 0xC0A80001);
    EXPECT_EQ(expected, CellBytes(b));
}

TEST(GridTypedCells, FontTextCompareAndArchiveKeepFaceNamesInTheirField)
{
    CExtGridCellFont cell;
    EXPECT_EQ("", Text(cell));
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = -::MulDiv(10, CExtGridCellFont::stat_ScreenDpiY(), 72);
    lf.lfWeight = 700;
    lf.lfItalic = 1;
    strcpy(lf.lfFaceName, "Arial");
    cell.LogFontSet(lf);
    EXPECT_EQ("Arial; 10 pt", Text(cell));
    Bytes expected = ExBytes(cell);
    for (LONG n : {lf.lfHeight, 0L, 0L, 0L, 700L}) Put32(expected, (DWORD)n);
    for (BYTE b : {1, 0, 0, 0, 0, 0, 0, 0}) expected.push_back(b);
    PutStr(expected, "Arial");
    Put32(expected, 0xFFFFFFFF);
    EXPECT_EQ(expected, CellBytes(cell));
    // A stored face name of 40 characters is cut to the 31 the field holds.
    const std::string sLong(40, 'F');
    Bytes hostile = ExBytes(cell);
    for (int i = 0; i < 5; i++) Put32(hostile, 0);
    hostile.insert(hostile.end(), 8, 0);
    PutStr(hostile, sLong.c_str());
    Put32(hostile, 0x112233);
    CExtGridCellFont loaded;
    Load(loaded, hostile);
    EXPECT_EQ(std::string(31, 'F'), std::string(loaded.LogFontGet().lfFaceName));
    EXPECT_EQ(0x112233u, loaded.ColorGet());
    // Face first (case-sensitive), then size, then colour with "none" last.
    struct F { const char* face; LONG height; COLORREF clr; };
    const struct { F a, b; int expected; } order[] = {
        {{"Arial", -13, 0}, {"arial", -13, 0}, -1}, {{"Tahoma", -13, 0}, {"Tahoma", -16, 0}, -1},
        {{"Tahoma", -13, COLORREF(-1)}, {"Tahoma", -13, 0xFF}, 1},
    };
    for (const auto& o : order) {
        CExtGridCellFont a, b;
        LOGFONT la = lf, lb = lf;
        strcpy(la.lfFaceName, o.a.face), la.lfHeight = o.a.height;
        strcpy(lb.lfFaceName, o.b.face), lb.lfHeight = o.b.height;
        a.LogFontSet(la), b.LogFontSet(lb);
        a.ColorSet(o.a.clr), b.ColorSet(o.b.clr);
        EXPECT_EQ(o.expected, a.Compare(b)) << o.a.face << " " << o.b.face;
        EXPECT_EQ(-o.expected, b.Compare(a)) << o.a.face << " " << o.b.face;
    }
    VARIANT v;
    ::VariantInit(&v);
    cell.VariantGet(&v);
    EXPECT_EQ(VT_DISPATCH, v.vt);
    ::VariantClear(&v);
}

TEST(GridTypedCells, PicturePaintsAlignedOrScaledDown)
{
    CExtGridWnd grid;  // painting a picture asks nothing of the grid window
    const struct { const char* what; int size; DWORD style; CRect rc; POINT in, out; } cases[] = {
        {"centred", 16, 0x33, CRect(0, 0, 40, 20), {12, 2}, {11, 2}},
        {"centred, last pixel", 16, 0x33, CRect(0, 0, 40, 20), {27, 17}, {28, 17}},
        {"top-left", 16, 0x00, CRect(0, 0, 40, 20), {15, 15}, {16, 15}},
        {"scaled into the cell", 64, 0x00, CRect(0, 0, 32, 20), {31, 19}, {32, 19}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CExtGridCellPicture cell;
        HBITMAP hbm = SolidBitmap(c.size, c.size, RGB(200, 0, 0));
        ASSERT_TRUE(cell.BitmapGet()->AssignFromHBITMAP(hbm));
        ::DeleteObject(hbm);
        cell.ModifyStyle(c.style);
        testsupport::DibCanvas canvas(48, 24, RGB(255, 255, 255));
        CDC* pDC = CDC::FromHandle(canvas.Dc());
        cell.OnPaintText(c.rc, grid, *pDC, 0, 0, 0, 0, 0, 0, c.rc, c.rc, c.rc, 0x200, 0);
        EXPECT_EQ(RGB(200, 0, 0), canvas.Pixel(c.in.x, c.in.y));
        EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(c.out.x, c.out.y));
        EXPECT_EQ(CSize(c.size + 4, c.size + 4), cell.OnMeasureCell(NULL, *pDC));
    }
}

TEST(GridTypedCells, PictureSortArchiveCloneAndReferencesLeftAlone)
{
    CExtBitmap shared;
    HBITMAP hbm = SolidBitmap(8, 8, RGB(0, 0, 255));
    ASSERT_TRUE(shared.AssignFromHBITMAP(hbm));
    ::DeleteObject(hbm);
    CExtGridCellPicture none, small, big;
    hbm = SolidBitmap(4, 4, RGB(1, 2, 3));
    small.BitmapGet()->AssignFromHBITMAP(hbm);
    ::DeleteObject(hbm);
    big.BitmapGet()->AssignFrom(shared);
    EXPECT_EQ(-1, none.Compare(small));
    EXPECT_EQ(-1, small.Compare(big));
    EXPECT_EQ(1, big.Compare(none));
    CExtGridCellPictureRef ref(NULL, &shared);
    ref.PictureModeSet(2);
    EXPECT_EQ(0, ref.Compare(big));
    Bytes refBytes = ExBytes(ref);
    Put32(refBytes, 2);
    Put32(refBytes, 0);
    EXPECT_EQ(refBytes, CellBytes(ref));
    // A record with an image loads into a reference without touching the shared image.
    Load(ref, CellBytes(small));
    EXPECT_EQ(CSize(8, 8), shared.GetSize());
    EXPECT_EQ(0, ref.PictureModeGet());
    Load(big, refBytes);
    EXPECT_TRUE(big.BitmapGet()->IsEmpty());
    CExtGridCell* pRefClone = ref.Clone();
    CExtGridCell* pClone = small.Clone();
    EXPECT_EQ(nullptr, static_cast<CExtGridCellPictureRef*>(pRefClone)->BitmapGet());
    small.BitmapGet()->Empty();
    EXPECT_EQ(CSize(4, 4), static_cast<CExtGridCellPicture*>(pClone)->BitmapGet()->GetSize());
    delete pRefClone;
    delete pClone;
}

TEST(GridTypedCells, PathCellsDefaultsArchiveAndIconBox)
{
    CExtGridCellFile file;
    CExtGridCellFileImage image;
    CExtGridCellFolder folder;
    EXPECT_EQ(nullptr, file.DialogInitialFile());
    file.TextSet(std::string(300, 'p').c_str());
    EXPECT_EQ(nullptr, file.DialogInitialFile());
    file.TextSet(_T("C:\\a.txt"));
    Bytes expected = StringBytes(file);
    expected.push_back(1);
    PutStr(expected, "");
    Put32(expected, 0x81800);
    PutStr(expected, "All Files (*.*)|*.*||");
    EXPECT_EQ(expected, CellBytes(file));
    EXPECT_EQ("Supported Image Files (*.ico)|*.ico|All Files (*.*)|*.*||", std::string((LPCSTR)image.m_sFilter));
    folder.m_dwBrowseFlags = 0x51;
    expected = StringBytes(folder);
    Put32(expected, 0x51);
    PutStr(expected, "Select Folder");
    PutStr(expected, "");
    EXPECT_EQ(expected, CellBytes(folder));
    CExtGridCellFolder loaded;
    Load(loaded, expected);
    EXPECT_EQ(0x51u, loaded.m_dwBrowseFlags);
    // A path that names no icon file leaves the window-coloured box in its black frame.
    HWND hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 50, NULL, NULL, NULL, NULL);
    CExtGridWnd grid;
    ASSERT_TRUE(grid.Create(CWnd::FromHandle(hParent), CRect(0, 0, 90, 40), 1, 0));
    image.TextSet(_T("C:\\no\\such.ico"));
    testsupport::DibCanvas canvas(30, 20, RGB(1, 2, 3));
    const CRect rcIcon(2, 2, 22, 15);
    image.OnPaintIcon(NULL, rcIcon, grid, *CDC::FromHandle(canvas.Dc()), 0, 0, 0, 0, 0, 0, rcIcon, rcIcon, rcIcon,
                      0x200, 0);
    EXPECT_EQ(RGB(0, 0, 0), canvas.Pixel(2, 2));
    EXPECT_EQ(RGB(0, 0, 0), canvas.Pixel(21, 14));
    EXPECT_EQ(grid.GetColor(COLOR_WINDOW), canvas.Pixel(10, 8));
    EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(22, 8));
    EXPECT_EQ(CSize(20, 13), image.IconGetSize());
    grid.DestroyWindow();
    ::DestroyWindow(hParent);
}

namespace {
class RecordingLink : public CExtGridCellHyperLink
{
public:
    std::string m_calls;
    char m_succeeds = 0;
    bool Step(char c)
    {
        m_calls += c;
        return c == m_succeeds;
    }
    bool NavigateInternetShortcut(LPCTSTR, int, bool) override { return Step('I'); }
    bool NavigateShellExecute(LPCTSTR, int, bool) override { return Step('S'); }
    bool NavigateRegistry(LPCTSTR, int, bool) override { return Step('R'); }
};
}  // namespace

TEST(GridTypedCells, HyperlinkOrderCommandLineAndArchive)
{
    const struct { const char* target; char succeeds; const char* calls; bool visited; } order[] = {
        {"www.example.org", 'S', "RIS", true}, {"HTTP://x", 'R', "R", true},
        {"C:\\doc.txt", 0, "ISR", false}, {"web.site", 'I', "RI", true},
    };
    for (const auto& o : order) {
        RecordingLink link;
        link.m_succeeds = o.succeeds;
        EXPECT_EQ(o.visited, link.Navigate(o.target, 0, false)) << o.target;
        EXPECT_EQ(o.calls, link.m_calls) << o.target;
        EXPECT_EQ(o.visited, link.m_bVisited) << o.target;
    }
    const std::string sLong(600, 'u');
    const struct { const char* command; const char* target; const char* line; } lines[] = {
        {"\"C:\\b.exe\" -nohome \"%1\"", "http://a", "\"C:\\b.exe\" -nohome  \"http://a\""},
        {"C:\\b.exe %1 -x", "http://a", "C:\\b.exe  \"http://a\""},
        {"C:\\b.exe", "http://a", "C:\\b.exe \"http://a\""},
        {"C:\\b.exe %1", "http://a\" & calc", ""}, {"C:\\b.exe %1", "http://a\r\ncalc", ""},
        {"C:\\b.exe %1", sLong.c_str(), ""},
    };
    for (const auto& l : lines) {
        CString sLine;
        EXPECT_EQ(*l.line != 0, CExtGridCellHyperLink::stat_BuildCommandLine(l.command, l.target, sLine)) << l.command;
        EXPECT_EQ(l.line, std::string((LPCSTR)sLine)) << l.command;
    }
    EXPECT_EQ("Unable to open hyper link:\nFile was not found.",
              std::string((LPCSTR)CExtGridCellHyperLink::stat_ErrorMessage(2)));
    EXPECT_EQ("Unable to open hyper link:\nUnknown Error (77=0x4D) occurred.",
              std::string((LPCSTR)CExtGridCellHyperLink::stat_ErrorMessage(77)));
    RecordingLink link, copy;
    link.TextSet(_T("  www.a.b  "));
    EXPECT_EQ("www.a.b", std::string((LPCSTR)link.GetLinkTarget()));
    link.m_sURL = _T(" http://u ");
    EXPECT_EQ("http://u", std::string((LPCSTR)link.GetLinkTarget()));
    link.m_bVisited = true;
    copy.Assign(link);
    EXPECT_FALSE(copy.m_bVisited);
    EXPECT_EQ(0xFF0000u, link.TextColorGet(CExtGridCell::__ECS_HOVERED));
    Bytes expected = StringBytes(link);
    Put32(expected, 0x800080);
    expected.push_back(1);
    expected.push_back(1);
    PutStr(expected, " http://u ");
    EXPECT_EQ(expected, CellBytes(link));
}

TEST(GridTypedCells, HyperlinkFollowsClicksAndKeysOnItsText)
{
    HWND hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 60, NULL, NULL, NULL, NULL);
    CExtGridWnd grid;
    ASSERT_TRUE(grid.Create(CWnd::FromHandle(hParent), CRect(0, 0, 190, 50), 1, 0));
    const struct { const char* what; UINT button, event; DWORD part, style; bool follows; } clicks[] = {
        {"press on the text", 1, 1, 0x2000, 0, true}, {"double click", 1, 2, 0x2000, 0, true},
        {"release", 1, 3, 0x2000, 0, false}, {"right button", 2, 1, 0x2000, 0, false},
        {"check box", 1, 1, 0x400, 0, false}, {"button", 1, 1, 0x1000, 0, false},
        {"disabled", 1, 1, 0x2000, CExtGridCell::__EGCS_READ_ONLY, false},
    };
    for (const auto& c : clicks) {
        RecordingLink link;
        link.m_succeeds = 'I';
        link.TextSet(_T("docs"));
        link.ModifyStyle(c.style);
        CExtGridHitTestInfo hti;
        hti.m_dwAreaFlags = CExtGridHitTestInfo::AREA_INNER | c.part;
        link.OnClick(grid, hti, c.button, c.event, 0);
        EXPECT_EQ(c.follows, link.m_bVisited) << c.what;
    }
    const struct { const char* what; bool down; UINT key; bool noEdit; bool follows; } keys[] = {
        {"Space", false, VK_SPACE, false, true}, {"Enter, no editor", false, VK_RETURN, true, true},
        {"Enter with an editor", false, VK_RETURN, false, false}, {"Space pressed", true, VK_SPACE, true, false},
    };
    for (const auto& k : keys) {
        RecordingLink link;
        link.m_succeeds = 'I';
        link.TextSet(_T("docs"));
        if (!k.noEdit) link.ModifyStyle(0, CExtGridCell::__EGCS_NO_INPLACE_CONTROL);
        link.OnKey(grid, k.down, k.key, 1, 0);
        EXPECT_EQ(k.follows, link.m_bVisited) << k.what;
    }
    grid.DestroyWindow();
    ::DestroyWindow(hParent);
}

namespace {
class NoYearNoSeconds : public CExtGridCellDateTime
{
public:
    bool OnQueryPartVisible(int nPart) const override { return nPart != 0 && nPart != 5; }
};
}  // namespace

TEST(GridTypedCells, DateTimeHiddenPartsLeaveTheText)
{
    NoYearNoSeconds cell;
    cell.SetDateTime(COleDateTime(2024, 2, 29, 13, 5, 9));
    cell.SetTimeFormat(0);
    EXPECT_EQ("2/29 1:05 PM", Text(cell));
    cell.SetTimeFormat(1);
    EXPECT_EQ("2/29 13:05", Text(cell));
}
