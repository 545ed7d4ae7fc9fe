// Separators, edit and combo-box frames, bar borders and size grips in each theme.
#include <gtest/gtest.h>
#include "bar_fakes.h"
#include "support/dib_canvas.h"

using testsupport::DibCanvas;
typedef barfakes::ToolBar FakeToolBar;
typedef barfakes::CExtStatusControlBar FakeStatusBar;
typedef barfakes::PopupMenu FakeMenu;
typedef CEdit FakeEdit;
typedef CExtPaintManager::PAINTEDITFRAMEDATA EditData;
typedef CExtPaintManager::PAINTCOMBOBOXDATA ComboData;
typedef CExtPaintManager::PAINTBARBORDERDATA BorderData;

namespace {

const COLORREF MARK = RGB(1, 2, 3), RED = RGB(255, 0, 0);

class SmallParts : public ::testing::Test
{
protected:
    void TearDown() override { themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP)); }
    CExtPaintManager* Use(CRuntimeClass* pClass) { return themetest::InstallTheme(pClass); }
    barfakes::Scene m_scene;
};

}  // namespace

TEST_F(SmallParts, SeparatorsOfEachTheme)
{
    DibCanvas canvas(30, 20, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcVert = {0, 0, 10, 20};
    const RECT rcHorz = {0, 0, 30, 10};

    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    pPM->DrawSeparator(*pDC, rcVert, true, false, NULL);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(3, 5));
    EXPECT_EQ(pPM->LookupColor(1006), canvas.Pixel(4, 5));
    EXPECT_EQ(pPM->LookupColor(1004), canvas.Pixel(5, 5));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(6, 5));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(4, 19));
    canvas.Fill(MARK);
    pPM->DrawSeparator(*pDC, rcVert, true, true, NULL);
    EXPECT_EQ(MARK, canvas.Pixel(3, 5)) << "a transparent separator keeps the background";
    EXPECT_EQ(pPM->LookupColor(1006), canvas.Pixel(4, 5));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    canvas.Fill(MARK);
    pPM->DrawSeparator(*pDC, rcVert, true, false, NULL);
    EXPECT_EQ(pPM->LookupColor(2002), canvas.Pixel(4, 1));
    EXPECT_EQ(pPM->LookupColor(2002), canvas.Pixel(4, 18));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(4, 0));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(4, 19));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(5, 5));
    canvas.Fill(MARK);
    pPM->DrawSeparator(*pDC, rcHorz, false, false, NULL);
    EXPECT_EQ(pPM->LookupColor(2002), canvas.Pixel(1, 4));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(0, 4));

    // Office 2003: a status bar's separator runs the full length, a toolbar's is inset.
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    FakeStatusBar* pStatus = m_scene.Top<FakeStatusBar>(0, 0, 100, 20);
    FakeToolBar* pToolBar = m_scene.Top<FakeToolBar>(0, 0, 100, 20);
    canvas.Fill(MARK);
    pPM->DrawSeparator(*pDC, rcHorz, false, false, pStatus);
    EXPECT_EQ(pPM->LookupColor(3011), canvas.Pixel(0, 4));
    EXPECT_EQ(pPM->LookupColor(3010), canvas.Pixel(29, 5));
    canvas.Fill(MARK);
    pPM->DrawSeparator(*pDC, rcHorz, false, false, pToolBar);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(2, 4));
    EXPECT_EQ(pPM->LookupColor(3011), canvas.Pixel(3, 4));
    EXPECT_EQ(pPM->LookupColor(3010), canvas.Pixel(26, 5));
    canvas.Fill(MARK);
    pPM->DrawSeparator(*pDC, rcVert, true, false, pToolBar);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(4, 1));
    EXPECT_EQ(pPM->LookupColor(3011), canvas.Pixel(4, 2));
    canvas.Fill(MARK);
    pPM->DrawSeparator(*pDC, rcVert, true, false, NULL);
    EXPECT_EQ(pPM->LookupColor(2002), canvas.Pixel(4, 1)) << "other objects: the XP line";

    // Studio 2005: a toolbar separator is a blend of face and shadow.
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerStudio2005));
    canvas.Fill(MARK);
    pPM->DrawSeparator(*pDC, rcVert, true, false, pToolBar);
    const COLORREF c15 = pPM->LookupColor(15), c16 = pPM->LookupColor(16);
    const COLORREF clrBlend =
        RGB((GetRValue(c15) * 144 + GetRValue(c16) * 111) / 255,
            (GetGValue(c15) * 144 + GetGValue(c16) * 111) / 255,
            (GetBValue(c15) * 144 + GetBValue(c16) * 111) / 255);
    EXPECT_EQ(clrBlend, canvas.Pixel(5, 1));
    EXPECT_EQ(clrBlend, canvas.Pixel(5, 18));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(5, 0));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(5, 19));
}

TEST_F(SmallParts, EditFrames)
{
    DibCanvas canvas(40, 30, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcClient = {10, 10, 30, 20};

    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    EditData plain(NULL, rcClient, true, false, true, false, false);
    pPM->DrawEditFrame(*pDC, plain);
    EXPECT_EQ(pPM->LookupColor(COLOR_WINDOW), canvas.Pixel(8, 8));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(7, 7));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(6, 6));
    EXPECT_EQ(MARK, canvas.Pixel(10, 10));
    canvas.Fill(MARK);
    EditData hover(NULL, rcClient, true, true, true, false, false);
    pPM->DrawEditFrame(*pDC, hover);
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNSHADOW), canvas.Pixel(8, 8));
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNHIGHLIGHT), canvas.Pixel(31, 21));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(7, 7));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    canvas.Fill(MARK);
    EditData hot(NULL, rcClient, true, true, true, true, false);
    pPM->DrawEditFrame(*pDC, hot);
    EXPECT_EQ(pPM->LookupColor(2004), canvas.Pixel(8, 8));
    EXPECT_EQ(pPM->LookupColor(2004), canvas.Pixel(7, 7));
    EXPECT_EQ(MARK, canvas.Pixel(6, 6));

    // Office 2003: beyond the rings that show lies the parent's background.
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    barfakes::ParentBackgroundOn on;
    CWnd* pParent = m_scene.Top<CWnd>(0, 0, 200, 200);
    FakeEdit* pEdit = m_scene.Child<FakeEdit>(pParent, 1, 0, 0, 100, 100);
    barfakes::Scene::SetAnswer(pParent, barfakes::__ANSWER_PAINT, RED);
    struct Case
    {
        bool bHover, bFocus;
        int nRings;  // rings outside the client area before the parent's background
        COLORREF clrFirst;
    } cases[] = {
        {false, false, 1, pPM->LookupColor(COLOR_WINDOW)},
        {true, false, 1, pPM->LookupColor(2004)},
        {false, true, 1, pPM->LookupColor(2004)},
        {true, true, 2, pPM->LookupColor(2004)},
    };
    for (const Case& c : cases)
    {
        canvas.Fill(MARK);
        EditData data(pEdit, rcClient, true, c.bHover, true, c.bFocus, false);
        pPM->DrawEditFrame(*pDC, data);
        const int nFirst = 8, nBeyond = 8 - c.nRings;
        EXPECT_EQ(c.clrFirst, canvas.Pixel(nFirst, 15)) << c.bHover << c.bFocus;
        EXPECT_EQ(RED, canvas.Pixel(nBeyond, 15)) << c.bHover << c.bFocus;
        EXPECT_EQ(RED, canvas.Pixel(0, 0)) << c.bHover << c.bFocus;
        EXPECT_EQ(MARK, canvas.Pixel(15, 15)) << c.bHover << c.bFocus;
    }
}

TEST_F(SmallParts, ComboBoxFrames)
{
    DibCanvas canvas(80, 24, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 80, 22};

    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    EXPECT_EQ(15, pPM->GetComboDropDownButtonWidth());
    ComboData rest(NULL, rc, false, false, true);
    pPM->DrawComboBoxFrame(*pDC, rest);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(1, 1));
    EXPECT_EQ(MARK, canvas.Pixel(20, 10)) << "the field is the control's own";
    canvas.Fill(MARK);
    ComboData hot(NULL, rc, true, false, true);
    pPM->DrawComboBoxFrame(*pDC, hot);
    EXPECT_EQ(pPM->LookupColor(1007), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(1005), canvas.Pixel(79, 21));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    canvas.Fill(MARK);
    pPM->DrawComboBoxFrame(*pDC, rest);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(2001), canvas.Pixel(1, 1));
    EXPECT_EQ(MARK, canvas.Pixel(20, 10));
    canvas.Fill(MARK);
    pPM->DrawComboBoxFrame(*pDC, hot);
    EXPECT_EQ(pPM->LookupColor(2004), canvas.Pixel(1, 1));
    canvas.Fill(MARK);
    ComboData noOuter(NULL, rc, false, false, true);
    noOuter.m_bNoOuterFrame = true;
    pPM->DrawComboBoxFrame(*pDC, noOuter);
    EXPECT_EQ(MARK, canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(2001), canvas.Pixel(1, 1));

    // Office 2003 inside a menu, at rest: no frame at all, only the button area inset
    // 1 pixel at the left and 2 elsewhere filled with 2010; the field is untouched.
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    FakeMenu* pMenu = m_scene.Top<FakeMenu>(0, 0, 100, 100);
    canvas.Fill(MARK);
    ComboData inMenu(pMenu, rc, false, false, true);
    pPM->DrawComboBoxFrame(*pDC, inMenu);
    EXPECT_EQ(MARK, canvas.Pixel(0, 0));
    EXPECT_EQ(MARK, canvas.Pixel(20, 10));
    EXPECT_EQ(MARK, canvas.Pixel(64, 0));
    const COLORREF clr2010 = pPM->LookupColor(2010);
    EXPECT_EQ(clr2010, canvas.Pixel(66, 2));
    EXPECT_EQ(clr2010, canvas.Pixel(77, 19));
    EXPECT_EQ(MARK, canvas.Pixel(65, 2));
    EXPECT_EQ(MARK, canvas.Pixel(78, 19));
    EXPECT_EQ(MARK, canvas.Pixel(77, 20));
    // Hovered in a menu: a highlight frame round the whole control.
    canvas.Fill(MARK);
    ComboData inMenuHot(pMenu, rc, true, false, true);
    pPM->DrawComboBoxFrame(*pDC, inMenuHot);
    EXPECT_EQ(pPM->LookupColor(2004), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(2004), canvas.Pixel(40, 21));
    EXPECT_EQ(MARK, canvas.Pixel(20, 10));
}

TEST_F(SmallParts, BarBorders)
{
    DibCanvas canvas(40, 20, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 40, 20};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    BorderData none(NULL, BorderData::__BB_DOCK_BAR, 0, rc);
    pPM->DrawBarBorder(*pDC, none);
    EXPECT_EQ(0, canvas.Count(pPM->LookupColor(1000), rc));
    BorderData pane(NULL, BorderData::__BB_STATUS_PANE, 0, rc);
    pPM->DrawBarBorder(*pDC, pane);
    EXPECT_EQ(pPM->LookupColor(1006), canvas.Pixel(0, 0)) << "sunken";
    EXPECT_EQ(pPM->LookupColor(1004), canvas.Pixel(39, 19));

    canvas.Fill(MARK);
    BorderData bar(NULL, BorderData::__BB_STATUS_BAR,
                   CBRS_BORDER_LEFT | CBRS_BORDER_TOP | CBRS_BORDER_3D, rc);
    pPM->DrawBarBorder(*pDC, bar);
    const COLORREF clrFace = pPM->LookupColor(1000);
    EXPECT_EQ(clrFace, canvas.Pixel(20, 0));
    EXPECT_EQ(clrFace, canvas.Pixel(20, 1));
    EXPECT_EQ(clrFace, canvas.Pixel(0, 10));
    EXPECT_EQ(clrFace, canvas.Pixel(1, 10));
    EXPECT_EQ(clrFace, canvas.Pixel(0, 19));
    EXPECT_EQ(MARK, canvas.Pixel(2, 10));
    EXPECT_EQ(MARK, canvas.Pixel(39, 10));
    EXPECT_EQ(MARK, canvas.Pixel(20, 19));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    pPM->DrawBarBorder(*pDC, pane);
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNSHADOW), canvas.Pixel(0, 0));
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerStudio2005));
    pPM->DrawBarBorder(*pDC, pane);
    EXPECT_EQ(pPM->LookupColor(3014), canvas.Pixel(39, 19));
}

TEST_F(SmallParts, SizeGrips)
{
    DibCanvas canvas(20, 20, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 20, 20};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    pPM->DrawSizeGrip(*pDC, rc, NULL);
    const COLORREF clrDark = pPM->LookupColor(COLOR_BTNSHADOW);
    const COLORREF clrLight = pPM->LookupColor(COLOR_WINDOW);
    EXPECT_EQ(clrDark, canvas.Pixel(18, 19));
    EXPECT_EQ(clrDark, canvas.Pixel(19, 18));
    EXPECT_EQ(clrDark, canvas.Pixel(17, 19));
    EXPECT_EQ(clrLight, canvas.Pixel(16, 19));
    EXPECT_EQ(clrLight, canvas.Pixel(19, 16));
    EXPECT_EQ(MARK, canvas.Pixel(15, 19));
    EXPECT_EQ(clrDark, canvas.Pixel(14, 19));
    EXPECT_EQ(clrLight, canvas.Pixel(8, 19));
    EXPECT_EQ(MARK, canvas.Pixel(7, 19));
    EXPECT_EQ(MARK, canvas.Pixel(19, 19));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    canvas.Fill(MARK);
    pPM->DrawSizeGrip(*pDC, rc, NULL);
    const COLORREF clrDot = pPM->LookupColor(3003), clrShadow = pPM->LookupColor(3002);
    struct Dot
    {
        int x, y;
        bool bThere;
    } dots[] = {
        {17, 17, true}, {17, 13, true}, {17, 9, true}, {17, 5, false},
        {13, 17, true}, {13, 13, true}, {13, 9, false},
        {9, 17, true},  {9, 13, false}, {5, 17, false},
    };
    for (const Dot& d : dots)
    {
        EXPECT_EQ(d.bThere ? clrDot : MARK, canvas.Pixel(d.x, d.y)) << d.x << "," << d.y;
        EXPECT_EQ(d.bThere ? clrShadow : MARK, canvas.Pixel(d.x + 2, d.y + 2)) << d.x << "," << d.y;
    }
    EXPECT_EQ(clrShadow, canvas.Pixel(19, 19)) << "the last shadow touches the corner";
}

TEST_F(SmallParts, OfficeComboBoxStandsOnItsParentsBackground)
{
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    barfakes::ParentBackgroundOn on;
    CWnd* pParent = m_scene.Top<CWnd>(0, 0, 200, 100);
    CComboBox* pCombo = m_scene.Child<CComboBox>(pParent, 1, 0, 0, 80, 22);
    barfakes::Scene::SetAnswer(pParent, barfakes::__ANSWER_PAINT, RED);
    DibCanvas canvas(80, 22, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 80, 22};
    ComboData rest(pCombo, rc, false, false, true);
    pPM->DrawComboBoxFrame(*pDC, rest);
    // R = rc deflated by 1; the field (2, 2, 62, 20) is the control's own.
    EXPECT_EQ(RED, canvas.Pixel(0, 0));
    EXPECT_EQ(RED, canvas.Pixel(79, 21));
    EXPECT_EQ(pPM->LookupColor(COLOR_WINDOW), canvas.Pixel(1, 1));
    EXPECT_EQ(pPM->LookupColor(COLOR_WINDOW), canvas.Pixel(1, 10));
    EXPECT_EQ(MARK, canvas.Pixel(2, 2));
    EXPECT_EQ(MARK, canvas.Pixel(61, 19));
    // The frames over the old button edge.
    EXPECT_EQ(pPM->LookupColor(COLOR_WINDOW), canvas.Pixel(63, 10));

    canvas.Fill(MARK);
    ComboData hot(pCombo, rc, true, false, true);
    pPM->DrawComboBoxFrame(*pDC, hot);
    EXPECT_EQ(pPM->LookupColor(2004), canvas.Pixel(1, 1));
    EXPECT_EQ(pPM->LookupColor(2004), canvas.Pixel(78, 20));
    EXPECT_EQ(RED, canvas.Pixel(0, 0));
    EXPECT_EQ(MARK, canvas.Pixel(2, 2));

    // Nobody answers: the parent's own control background (its gradient starts with
    // 3001 at the left) continues under the combo box.
    barfakes::Scene::SetAnswer(pParent, barfakes::__ANSWER_NONE);
    canvas.Fill(MARK);
    pPM->DrawComboBoxFrame(*pDC, rest);
    EXPECT_EQ(pPM->LookupColor(3001), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(COLOR_WINDOW), canvas.Pixel(1, 1));
    EXPECT_EQ(MARK, canvas.Pixel(2, 2));
}
