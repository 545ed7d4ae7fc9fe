// The application's dialogs under the gradient themes: their labels, check boxes, links
// and group boxes show the dialog's own background, read back from the screen.
#include "app_test_app.h"
#include "real_input.h"
#include "app/about_dlg.h"
#include "app/dlg_group.h"
#include "app/options_dlg.h"
#include "res/resource.h"
#include "support/message_pump.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <vector>

using realinput::ScreenPixel;

namespace {

void Repaint(HWND hWnd)
{
    ::RedrawWindow(hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testsupport::PumpPending();
}

// Where a control shows no text or frame of its own: near its right edge, halfway down,
// or (for a group box) inside its bottom-right corner.
POINT BlankPointOf(HWND hCtrl, bool bGroupBox)
{
    RECT rc;
    ::GetWindowRect(hCtrl, &rc);
    POINT pt = {rc.right - 4, (rc.top + rc.bottom) / 2};
    if (bGroupBox)
        pt.y = rc.bottom - 5;
    return pt;
}

// Writes what the screen shows of a window into a 24-bit BMP file, for people to look at.
void SaveWindowShot(HWND hWnd, const char* pszFile)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top, nStride = (cx * 3 + 3) & ~3;
    HDC hScreen = ::GetDC(NULL);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBmp = ::CreateCompatibleBitmap(hScreen, cx, cy);
    HGDIOBJ hOld = ::SelectObject(hMem, hBmp);
    ::BitBlt(hMem, 0, 0, cx, cy, hScreen, rc.left, rc.top, SRCCOPY);
    ::SelectObject(hMem, hOld);
    BITMAPINFOHEADER bih = {sizeof(bih), cx, cy, 1, 24, BI_RGB, (DWORD)(nStride * cy), 0, 0, 0, 0};
    std::vector<BYTE> bits(nStride * cy);
    ::GetDIBits(hMem, hBmp, 0, cy, bits.data(), (BITMAPINFO*)&bih, DIB_RGB_COLORS);
    BITMAPFILEHEADER bfh = {0x4D42, (DWORD)(sizeof(bfh) + sizeof(bih) + bits.size()), 0, 0,
                            (DWORD)(sizeof(bfh) + sizeof(bih))};
    FILE* f = fopen(pszFile, "wb");
    if (f != NULL)
    {
        fwrite(&bfh, sizeof(bfh), 1, f);
        fwrite(&bih, sizeof(bih), 1, f);
        fwrite(bits.data(), 1, bits.size(), f);
        fclose(f);
    }
    ::DeleteObject(hBmp);
    ::DeleteDC(hMem);
    ::ReleaseDC(NULL, hScreen);
}

}  // namespace

TEST(ThemedDialogsTest, ControlsShowTheDialogBackgroundUnderGradientThemes)
{
    struct Theme { CExtPaintManager* (*make)(); const char* name; const char* file; } themes[] = {
        {[]() -> CExtPaintManager* { return new CExtPaintManagerOffice2003; }, "Office 2003", "office2003"},
        {[]() -> CExtPaintManager* { return new CExtPaintManagerStudio2005; }, "Studio 2005", "studio2005"},
    };
    struct Control { int dialog; int id; bool groupBox; } controls[] = {
        {0, IDC_AUTO_REFRESH, false}, {0, IDC_SHOW_GRID, false},  {0, IDC_OPTIONS_GENERAL, true},
        {0, IDC_OPTIONS_VIEW, true},  {1, IDC_ABOUT_LINKS, true}, {1, IDC_LINK_DONATE, false},
        {2, IDC_KEYWORD_LABEL, false},
    };
    for (const Theme& theme : themes)
    {
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(theme.make()));
        COptionsDlg options;
        CAboutDlg about;
        CDlgGroup addToGroup;
        ASSERT_TRUE(options.Create(NULL));
        ASSERT_TRUE(about.Create(NULL));
        ASSERT_TRUE(addToGroup.Create(NULL));
        CWnd* dialogs[] = {&options, &about, &addToGroup};
        for (int i = 0; i < 3; ++i)
        {
            dialogs[i]->SetWindowPos(&CWnd::wndTopMost, 40 + 400 * (i % 2), 40 + 400 * (i / 2), 0, 0,
                                     SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
            Repaint(dialogs[i]->m_hWnd);
            std::string sFile = std::string("themed_") + theme.file + (i == 0 ? "_options.bmp" : i == 1 ? "_about.bmp" : "_add_to_group.bmp");
            SaveWindowShot(dialogs[i]->m_hWnd, sFile.c_str());
        }
        for (const Control& c : controls)
        {
            HWND hCtrl = ::GetDlgItem(dialogs[c.dialog]->m_hWnd, c.id);
            ASSERT_TRUE(hCtrl != NULL);
            POINT pt = BlankPointOf(hCtrl, c.groupBox);
            COLORREF clrShown = ScreenPixel(pt);
            ::ShowWindow(hCtrl, SW_HIDE);
            Repaint(dialogs[c.dialog]->m_hWnd);
            EXPECT_EQ(ScreenPixel(pt), clrShown) << theme.name << " control " << c.id;
            ::ShowWindow(hCtrl, SW_SHOW);
            Repaint(dialogs[c.dialog]->m_hWnd);
        }
        options.DestroyWindow();
        about.DestroyWindow();
        addToGroup.DestroyWindow();
    }
    ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerXP));
}
