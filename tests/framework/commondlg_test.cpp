// The common dialogs' records as their constructors fill them, and the file dialog's
// reading of what the platform hands back. The dialogs themselves are never opened.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "framework_test_app.h"

TEST(CommonDialogs, ColorDialogRecord) {
    CColorDialog plain;
    EXPECT_EQ(sizeof(CHOOSECOLOR), plain.m_cc.lStructSize);
    EXPECT_EQ(0u, plain.m_cc.Flags & CC_RGBINIT);  // black is no initial choice
    EXPECT_EQ(CColorDialog::GetSavedCustomColors(), plain.m_cc.lpCustColors);
    EXPECT_EQ(RGB(255, 255, 255), plain.m_cc.lpCustColors[15]);

    CColorDialog initial(RGB(10, 20, 30), CC_FULLOPEN);
    EXPECT_EQ((DWORD)(CC_FULLOPEN | CC_RGBINIT), initial.m_cc.Flags);
    EXPECT_EQ(RGB(10, 20, 30), initial.GetColor());
    initial.SetCurrentColor(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), initial.GetColor());
    EXPECT_TRUE(initial.IsKindOf(RUNTIME_CLASS(CCommonDialog)));
    EXPECT_TRUE(initial.IsKindOf(RUNTIME_CLASS(CDialog)));
}

TEST(CommonDialogs, FileDialogRecordAndFilter) {
    CFileDialog dlg(TRUE, "txt", "start.txt", OFN_FILEMUSTEXIST, "Text files (*.txt)|*.txt|All files|*.*||");
    EXPECT_EQ(sizeof(OPENFILENAME), dlg.m_ofn.lStructSize);
    EXPECT_TRUE(dlg.m_ofn.Flags & OFN_FILEMUSTEXIST);
    EXPECT_TRUE(dlg.m_ofn.Flags & OFN_EXPLORER);
    EXPECT_STREQ("txt", dlg.m_ofn.lpstrDefExt);
    EXPECT_STREQ("start.txt", dlg.m_ofn.lpstrFile);
    EXPECT_GE(dlg.m_ofn.nMaxFile, (DWORD)MAX_PATH);
    // The filter's pieces, each ended by a NUL, the list by an empty piece.
    std::vector<std::string> pieces;
    for (LPCTSTR p = dlg.m_ofn.lpstrFilter; *p; p += strlen(p) + 1) pieces.push_back(p);
    EXPECT_EQ((std::vector<std::string>{"Text files (*.txt)", "*.txt", "All files", "*.*"}), pieces);

    // A filter without the final bar still ends properly.
    CFileDialog open(FALSE, NULL, NULL, OFN_HIDEREADONLY, "Logs|*.log");
    pieces.clear();
    for (LPCTSTR p = open.m_ofn.lpstrFilter; *p; p += strlen(p) + 1) pieces.push_back(p);
    EXPECT_EQ((std::vector<std::string>{"Logs", "*.log"}), pieces);
    EXPECT_STREQ("", open.m_ofn.lpstrFile);

    // The places-bar adjustment the grid makes stays inside the record.
    CFileDialog old(TRUE, NULL, NULL, 0, NULL, NULL, 76);
    EXPECT_EQ(76u, old.m_ofn.lStructSize);
    EXPECT_EQ(nullptr, old.m_ofn.lpstrFilter);

    // An initial name longer than the buffer is cut, not overrun.
    std::string longName(2 * MAX_PATH, 'n');
    CFileDialog cut(TRUE, NULL, longName.c_str());
    EXPECT_EQ(strlen(cut.m_ofn.lpstrFile) + 1, (size_t)cut.m_ofn.nMaxFile);
}

TEST(CommonDialogs, FileDialogResultParts) {
    CFileDialog dlg(FALSE);
    lstrcpy(dlg.m_ofn.lpstrFile, "C:\\Data\\Reports\\summary.final.csv");
    EXPECT_STREQ("C:\\Data\\Reports\\summary.final.csv", (LPCTSTR)dlg.GetPathName());
    EXPECT_STREQ("summary.final.csv", (LPCTSTR)dlg.GetFileName());
    EXPECT_STREQ("csv", (LPCTSTR)dlg.GetFileExt());
    EXPECT_STREQ("summary.final", (LPCTSTR)dlg.GetFileTitle());
    EXPECT_STREQ("C:\\Data\\Reports", (LPCTSTR)dlg.GetFolderPath());
    lstrcpy(dlg.m_ofn.lpstrFile, "README");
    EXPECT_STREQ("", (LPCTSTR)dlg.GetFileExt());
    EXPECT_STREQ("README", (LPCTSTR)dlg.GetFileTitle());
    EXPECT_FALSE(dlg.GetReadOnlyPref());

    // Several files: the folder, then each name.
    CFileDialog multi(TRUE, NULL, NULL, OFN_ALLOWMULTISELECT);
    const char list[] = "C:\\Dir\0a.txt\0b.txt\0";
    memcpy(multi.m_ofn.lpstrFile, list, sizeof(list));
    std::vector<std::string> paths;
    POSITION pos = multi.GetStartPosition();
    while (pos != NULL) paths.push_back((LPCTSTR)multi.GetNextPathName(pos));
    EXPECT_EQ((std::vector<std::string>{"C:\\Dir\\a.txt", "C:\\Dir\\b.txt"}), paths);
    EXPECT_STREQ("C:\\Dir\\a.txt", (LPCTSTR)multi.GetPathName());
    // One file chosen in a multiple-selection dialog: the buffer holds its path.
    const char one[] = "C:\\Dir\\only.txt\0";
    memcpy(multi.m_ofn.lpstrFile, one, sizeof(one));  // the literal ends in two NULs
    paths.clear();
    pos = multi.GetStartPosition();
    while (pos != NULL) paths.push_back((LPCTSTR)multi.GetNextPathName(pos));
    EXPECT_EQ((std::vector<std::string>{"C:\\Dir\\only.txt"}), paths);
    multi.m_ofn.lpstrFile[0] = 0;
    EXPECT_EQ(nullptr, multi.GetStartPosition());
}

TEST(CommonDialogs, FontDialogRecord) {
    LOGFONT lf = {};
    lf.lfHeight = -16;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = TRUE;
    lstrcpy(lf.lfFaceName, "Tahoma");
    CFontDialog dlg(&lf, CF_SCREENFONTS | CF_EFFECTS);
    EXPECT_EQ(sizeof(CHOOSEFONT), dlg.m_cf.lStructSize);
    EXPECT_EQ((DWORD)(CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT), dlg.m_cf.Flags);
    EXPECT_EQ(&dlg.m_lf, dlg.m_cf.lpLogFont);
    lf.lfHeight = 99;  // the dialog keeps its own copy
    EXPECT_EQ(-16, dlg.m_lf.lfHeight);
    EXPECT_STREQ("Tahoma", (LPCTSTR)dlg.GetFaceName());
    EXPECT_TRUE(dlg.IsBold());
    EXPECT_TRUE(dlg.IsItalic());
    EXPECT_FALSE(dlg.IsUnderline());
    dlg.m_cf.rgbColors = RGB(5, 6, 7);
    EXPECT_EQ(RGB(5, 6, 7), dlg.GetColor());
    LOGFONT back = {};
    dlg.GetCurrentFont(&back);
    EXPECT_EQ(FW_BOLD, back.lfWeight);

    CFontDialog plain;
    EXPECT_EQ(0u, plain.m_cf.Flags & CF_INITTOLOGFONTSTRUCT);
    EXPECT_EQ(nullptr, plain.m_cf.hDC);
}
