// The paint manager: the one object through which every toolkit window measures and
// paints itself, its four themes (base, XP, Office 2003, Studio 2005), the bridge that
// links a window to it, and the process-wide holder g_CurrentPaintManager.
//
// The virtual operations are declared in their table order; do not reorder them. The
// parameter records and glyphs are declared here and completed in the headers of the
// painting code that fills them.
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/uxtheme_wrapper.h"

class CExtCmdIcon;
class CExtBitmap;
class CExtControlBar;
class CExtToolControlBar;
class CExtBarButton;
class CExtScrollBar;
class CExtPmBridge;

class CExtPaintManager : public CObject
{
    DECLARE_DYNCREATE(CExtPaintManager)
public:
    // Theme identities that code outside the themes compares to choose a look.
    enum ThemeId
    {
        ThemeIdBase = 29901,
        ThemeIdXP = 29902,
        ThemeIdOffice2003 = 29903,
        ThemeIdStudio2005 = 29905,
    };

    // Logical colour ids. Below 1000 an id is a plain colour index.
    enum LogicalColorId
    {
        CLR_3DFACE_OUT = 1000,
        CLR_3DFACE_IN = 1001,
        CLR_3DLIGHT_OUT = 1002,
        CLR_3DLIGHT_IN = 1003,
        CLR_3DHILIGHT_OUT = 1004,
        CLR_3DHILIGHT_IN = 1005,
        CLR_3DSHADOW_OUT = 1006,
        CLR_3DSHADOW_IN = 1007,
        CLR_3DDKSHADOW_OUT = 1008,
        CLR_3DDKSHADOW_IN = 1009,
        CLR_TEXT_OUT = 1010,
        CLR_TEXT_IN = 1011,
        CLR_MENUTEXT_OUT = 1012,
        CLR_MENUTEXT_IN = 1013,
        CLR_MENUTEXT_DISABLED = 1014,
        CLR_MENUTEXT_SELECTED = 1015,
        CLR_MENUTEXT_SELECTED_DISABLED = 1016,
        CLR_MENUTEXT_HIGHLIGHTED = 1017,
        CLR_MENU_BACKGROUND = 1018,
        CLR_MENU_SELECTED = 1019,
        CLR_MENU_SELECTED_DISABLED = 1020,
        CLR_MENU_ICON_AREA = 1021,
        XPCLR_3DFACE_DARK = 2000,
        XPCLR_3DFACE_NORMAL = 2001,
        XPCLR_SEPARATOR = 2002,
        XPCLR_HILIGHT = 2003,
        XPCLR_HILIGHT_BORDER = 2004,
        XPCLR_RARELY_BORDER = 2005,
        XPCLR_PUSHEDHOVERTEXT = 2006,
        XPCLR_MENU_BORDER = 2007,
        XPCLR_3DFACE_FLOAT_R = 2008,
        XPCLR_3DFACE_FLOAT_F = 2009,
        XPCLR_TEXT_FIELD_BORDER_NORMAL = 2010,
        XPCLR_TEXT_FIELD_BORDER_DISABLED = 2011,
        _2003CLR_FIRST = 3000,
        // The toolbar chevron's face: its gradient at rest (the end colour also borders
        // the toolbars), hovered and pushed, from the start (top or left) to the end.
        _2003CLR_CHEVRON_FACE_START = 3004,
        _2003CLR_CHEVRON_FACE_END = 3005,
        _2003CLR_CHEVRON_HOVER_START = 3006,
        _2003CLR_CHEVRON_HOVER_END = 3007,
        _2003CLR_CHEVRON_PUSHED_END = 3008,
        _2003CLR_CHEVRON_PUSHED_START = 3009,
        // A toolbar separator's light and dark edges; the toolbar gradient ends in the light.
        _2003CLR_SEPARATOR_LIGHT = 3010,
        _2003CLR_SEPARATOR_DARK = 3011,
        // The chevron's glyphs: a light copy one pixel down and right under the dark one.
        _2003CLR_CHEVRON_GLYPH_LIGHT = 3012,
        _2003CLR_CHEVRON_GLYPH_DARK = 3013,
        _2003CLR_LAST = 3035,
        _2005CLR_FIRST = 4000,
        _2005CLR_LAST = 4002,
    };

    // Records and pictures completed by the painting code that uses them.
    struct PAINTBUTTONDATA;
    struct PAINTCHECKBOXDATA;
    struct PAINTMENUENTRYDATA;
    struct PAINTSCROLLBARDATA;
    struct PAINTBARCAPTIONDATA;
    struct PAINTBARFRAMEDATA;
    struct PAINTEDITFRAMEDATA;
    struct PAINTCOMBOBOXDATA;
    struct PAINTBARBORDERDATA;
    struct PAINTPARENTBACKGROUNDDATA;
    struct PAINTGLYPHBUTTONDATA;
    struct PAINTFIELDBOXDATA;
    struct PAINTTEXTFIELDDATA;
    struct PAINTTABITEMDATA;
    class glyph;
    class DockMarkerBase;
    class DockMarkerBeta2;

    // Where a window or rectangle lies on the desktop.
    struct MONITORDATA
    {
        RECT m_rcMonitor;
        RECT m_rcWorkArea;
        BYTE m_nFlags;  // bit 0: primary monitor
        MONITORDATA();
        bool IsPrimary() const { return (m_nFlags & 0x01) != 0; }
    };

    // Filter of ClipOutChildren: true keeps the child in the clip region.
    typedef bool (*pfnClipOutFilter)(HDC hDC, HWND hWndParent, HWND hWndChild, LPARAM lParam);

    CExtPaintManager();

    // ---- virtual operations, in table order -------------------------------------------
    virtual ~CExtPaintManager();                                                         // 2
    virtual void Serialize(CArchive& ar);                                                // 3
    virtual int GetThemeId();                                                            // 4
    virtual int GetThemeStyleValue();                                                    // 5
    virtual void QueryItemColors(bool bFlag, bool bHighlighted, COLORREF& clr1,
                                 COLORREF& clr2, COLORREF& clr3, COLORREF& clr4,
                                 COLORREF& clr5);                                        // 6
    virtual void QueryPanelColors(bool bFlag, int nUnused, COLORREF& clr1, COLORREF& clr2,
                                  COLORREF& clr3, COLORREF& clr4);                       // 7
    virtual bool UsesLunaColors();                                                       // 8
    virtual int GetLunaColorScheme();                                                    // 9
    virtual void OnResyncHook(CExtPaintManager* pPM, LPARAM lParam);                     // 10
    virtual bool IsThemedFrameSupported(const CWnd* pWnd, LPARAM lParam = 0);            // 11
    virtual HRGN GetThemedFrameRgn(const CWnd* pWnd, const RECT& rcWnd,
                                   LPARAM lParam = 0);                                   // 12
    virtual void GetThemedFrameBorders(RECT& rcBorders, RECT& rcCaption,
                                       const CWnd* pWnd, LPARAM lParam = 0);             // 13
    virtual void DrawThemedFrame(CObject* pHelperSrc, CDC& dc, const RECT& rcWnd,
                                 const RECT& rcCaption, const RECT& rcCaptionText,
                                 const RECT& rcIcon, const RECT& rcHelp,
                                 const RECT& rcMinimize, const RECT& rcMaximizeRestore,
                                 const RECT& rcClose, LPCTSTR sCaption, HICON hIcon,
                                 bool bActive, bool bMaximized, bool bHelpEnabled,
                                 bool bMinimizeEnabled, bool bMaximizeEnabled,
                                 bool bCloseEnabled, UINT nHoverHitTest, UINT nPushedHitTest,
                                 LPARAM lParam = 0);                                     // 14
    virtual RECT GetThemedFrameRect(const CWnd* pWnd, const RECT& rcWnd, bool bActive,
                                    bool bMaximized, bool bCaption, UINT nPart,
                                    LPARAM lParam = 0);                                  // 15
    virtual void GetThemedFrameButtonRects(const CWnd* pWnd, const RECT& rcWnd, bool bActive,
                                           RECT& rcIcon, RECT& rcCaptionText, RECT& rcHelp,
                                           RECT& rcMinimize, RECT& rcMaximizeRestore,
                                           RECT& rcClose, DWORD dwStyle,
                                           LPARAM lParam = 0);                           // 16
    virtual bool ReservedQuery17();                                                      // 17
    virtual bool GetMiniFrameCaptionRect(RECT& rcCaption, const CWnd* pWnd,
                                         bool bActive = false, LPARAM lParam = 0);       // 18
    virtual void ReservedHook19();                                                       // 19
    virtual bool ReservedQuery20();                                                      // 20
    virtual RECT ReservedQuery21();                                                      // 21
    virtual int ReservedQuery22();                                                       // 22
    virtual int ReservedQuery23();                                                       // 23
    virtual int ReservedQuery24();                                                       // 24
    virtual int ReservedQuery25();                                                       // 25
    virtual int ReservedQuery26();                                                       // 26
    virtual SIZE ReservedQuery27();                                                      // 27
    virtual void ReservedHook28();                                                       // 28
    virtual int ReservedQuery29();                                                       // 29
    virtual bool ReservedQuery30();                                                      // 30
    virtual bool ReservedQuery31();                                                      // 31
    virtual bool ReservedQuery32();                                                      // 32
    virtual bool ReservedQuery33();                                                      // 33
    virtual bool ReservedQuery34();                                                      // 34
    virtual bool ReservedQuery35();                                                      // 35
    virtual bool ReservedQuery36();                                                      // 36
    virtual bool ReservedQuery37();                                                      // 37
    virtual int ReservedQuery38();                                                       // 38
    virtual HFONT GetDefaultGuiFont();                                                   // 39
    virtual HFONT GetNormalWeightFont();                                                 // 40
    virtual void RefreshFromSystem();                                                    // 41
    virtual HBRUSH LookupBrush(int nColorIndex);                                         // 42
    virtual COLORREF LookupColor(int nColorIndex, CObject* pHelperSrc = NULL,
                                 LPARAM lParam = 0);                                     // 43
    virtual COLORREF GetBackgroundColor(CObject* pHelperSrc = NULL, LPARAM lParam = 0);  // 44
    virtual COLORREF GetLunaDerivedColor();                                              // 45
    virtual void DeflateBarRect(CExtControlBar* pBar, RECT& rc);                         // 46
    virtual int GetToolbarSpacing(CExtControlBar* pBar);                                 // 47
    virtual bool UsesToolbarGradient(CExtControlBar* pBar);                              // 48
    virtual void InitLogicalColorMap();                                                  // 49
    virtual void CreateAuxBrushes();                                                     // 50
    virtual SIZE GetPushedOffset();                                                      // 51
    virtual void LoadBuiltinImage(CExtCmdIcon& icon, bool bFirstVariant,
                                  bool bLargeVariant);                                   // 52
    virtual void DrawGlyphPixels(CDC& dc, int x, int y, const glyph& aGlyph,
                                 const COLORREF* pColorValues);                          // 53
    virtual void DrawGlyph(CDC& dc, const RECT& rc, const glyph& aGlyph,
                           const COLORREF* pColorValues);                                // 54
    virtual void FillToolbarArea(CDC& dc, CExtToolControlBar* pBar, DWORD dwValue,
                                 const RECT& rcArea);                                    // 55
    virtual void DrawChevronButton(CDC& dc, const RECT& rc, bool bHorzBar,
                                   bool bNoHiddenButtons, bool bEnabled, bool bPushed,
                                   bool bHover, CObject* pHelperSrc, LPARAM lParam = 0,
                                   bool bTransparentBackground = false);                 // 56
    virtual void DrawMenuExpandButton(CDC& dc, const RECT& rc, bool bHover, bool bUnused,
                                      CObject* pHelperSrc, LPARAM lParam = 0);           // 57
    virtual void DrawMenuScrollButton(CDC& dc, bool bPushed, bool bHover, bool bUp,
                                      const RECT* pRect, CObject* pHelperSrc,
                                      LPARAM lParam = 0);                                // 58
    virtual void DrawMenuTearOffCaption(CDC& dc, const RECT& rc, bool bHover, bool bPushed,
                                        CObject* pHelperSrc, LPARAM lParam = 0);         // 59
    virtual int GetMenuCheckHeight();                                                    // 60
    virtual void GetTabColors(COLORREF* pClr1, COLORREF* pClr2, COLORREF* pClr3,
                              COLORREF* pClr4, CObject* pHelperSrc,
                              LPARAM lParam = 0);                                        // 61
    virtual void DrawTabItem(CDC& dc, PAINTTABITEMDATA& _ptid);                          // 62
    virtual bool QueryTabWndOption(CObject* pHelperSrc, LPARAM lParam = 0);              // 63
    virtual void DrawTabPart(CDC& dc, const RECT& rcWhole, const RECT& rcItemsArea,
                             const RECT& rcBorder, DWORD dwOrientation, bool bNoBorder,
                             CObject* pHelperSrc, LPARAM lParam = 0);                    // 64
    virtual void DrawTabArea(CDC& dc, const RECT& rcArea, const RECT& rcReference,
                             int nUnused1, DWORD dwOrientation, int nUnused2,
                             CObject* pHelperSrc, LPARAM lParam = 0);                    // 65
    virtual void DrawTabButton(CDC& dc, const RECT& rc, LONG nHitTest, int nUnused1,
                               bool bForm, bool bEnabled, bool bHover, bool bPushed,
                               int nUnused2, CObject* pHelperSrc, LPARAM lParam = 0);    // 66
    virtual void DrawTabWndFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                 LPARAM lParam = 0);                                     // 67
    virtual void GetTabMetrics(CObject* pTabWnd, int& nFirst, int& nSecond,
                               int& nThird);                                             // 68
    virtual void AdjustTabItemSize(CObject* pTabWnd, CObject* pTabItemInfo, int nUnused,
                                   SIZE& size);                                          // 69
    virtual bool QueryTabWndMetric(LONG& nValue, LONG nMetricCode, CObject* pTabWnd);    // 70
    virtual void DrawSimpleFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                 LPARAM lParam = 0);                                     // 71
    virtual void PaintIcon(CDC* pDC, bool bHorz, const CString& sText, CExtCmdIcon* pIcon,
                           const RECT& rcItem, RECT& rcCaption, bool bPushed, bool bEnabled,
                           bool bHover, INT nIconAlignment, bool bRTL,
                           COLORREF clrIcon = COLORREF(-1));                             // 72
    virtual void DrawGlyphButton(CDC& dc, PAINTGLYPHBUTTONDATA& _pgbd);                  // 73
    virtual void DrawSysCommandGlyph(CDC& dc, UINT nHelperSysCmdID, const RECT& rc,
                                     bool bHover, bool bPushed, bool bEnabled);          // 74
    virtual void DrawPushButton(CDC& dc, PAINTBUTTONDATA& _ppbd);                        // 75
    virtual SIZE GetCheckBoxSize();                                                      // 76
    virtual SIZE GetRadioButtonSize();                                                   // 77
    virtual void DrawCheckBoxText(CDC& dc, PAINTCHECKBOXDATA& _pcbd, int nGlyphWidth,
                                  int nGlyphHeight, RECT& rcGlyph);                      // 78
    virtual void DrawCheckBoxGlyph(CDC& dc, PAINTCHECKBOXDATA& _pcbd);                   // 79
    virtual void DrawRadioGlyph(CDC& dc, PAINTCHECKBOXDATA& _pcbd);                      // 80
    virtual void DrawCheckBox(CDC& dc, PAINTCHECKBOXDATA& _pcbd);                        // 81
    virtual void DrawRadioButton(CDC& dc, PAINTCHECKBOXDATA& _pcbd);                     // 82
    virtual SIZE ReservedSize83();                                                       // 83
    virtual void DrawToolbarBorderPart(CDC& dc, const RECT& rc, bool bLeadingEdge,
                                       bool bVertical);                                  // 84
    virtual void DrawDoubleFrame(CDC& dc, const RECT& rc);                               // 85
    virtual int GetMenuTearOffCaptionHeight();                                           // 86
    virtual void EmptyHook6(CDC& dc, const RECT& rc, int nValue1, int nValue2,
                            CObject* pHelperSrc, LPARAM lParam = 0);                     // 87
    virtual void DrawMenuEntry(CDC& dc, PAINTMENUENTRYDATA& _pmed);                      // 88
    virtual void DrawMenuSeparator(CDC& dc, const RECT& rc, int nLeftAreaWidth,
                                   bool bRarelyUsed, CObject* pHelperSrc,
                                   LPARAM lParam = 0);                                   // 89
    virtual void DrawSeparator(CDC& dc, const RECT& rc, bool bVertLine, bool bTransparentBk,
                               CObject* pHelperSrc, LPARAM lParam = 0);                  // 90
    virtual void DrawBarCaption(CDC& dc, PAINTBARCAPTIONDATA& _pbcd);                    // 91
    virtual void DrawBarFrame(CDC& dc, PAINTBARFRAMEDATA& _pbfd);                        // 92
    virtual void DrawEditFrame(CDC& dc, PAINTEDITFRAMEDATA& _pefd);                      // 93
    virtual void DrawComboBoxFrame(CDC& dc, PAINTCOMBOBOXDATA& _pcbd);                   // 94
    virtual int GetComboDropDownButtonWidth();                                           // 95
    virtual int GetMenuTextHeight(bool bUnused = false);                                 // 96
    virtual int GetTipShadowSize();                                                      // 97
    virtual int GetMenuShadowSize();                                                     // 98
    virtual void GetMenuBorderMargins(RECT& rcMargins, CObject* pHelperSrc,
                                      LPARAM lParam = 0);                                // 99
    virtual void DrawMenuFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                               LPARAM lParam = 0);                                       // 100
    virtual bool ReservedQuery101();                                                     // 101
    virtual bool ReservedQuery102();                                                     // 102
    virtual void DrawMenuBorder(CDC& dc, const RECT& rcOuter, const RECT& rcInner,
                                int nOpenSide, CObject* pHelperSrc, LPARAM lParam = 0);  // 103
    // Whether a menu tracked with combine mode 0x20 is drawn joined to its owner button
    // (the cookie object when there is one): the theme's combine query (slot 102).
    virtual bool IsMenuCombinedWithOwner(CObject* pCookieObjectOrNull);
    // The smallest button of a palette-layout menu: the classic 23 x 22 toolbar button.
    virtual void GetMenuPaletteButtonSize(SIZE& size, CObject* pMenu, LPARAM lParam = 0);
    // The insertion mark of a customize drag: its size, the mark (a 2-pixel bar along
    // the rectangle with end ticks across it) and the selection frame of an item.
    virtual void GetDropMarkSize(CSize& size);
    virtual void DrawDropMark(CDC& dc, const RECT& rc, bool bHorz, LPARAM lParam = 0);
    virtual void DrawCustomizeSelection(CDC& dc, const RECT& rc);
    // A control that painted itself through this paint manager says so here when done
    // (the theme's hook slot 178; no theme reacts).
    virtual void NotifyPaintDone(CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DrawBarBorder(CDC& dc, PAINTBARBORDERDATA& _pbbd);                      // 104
    virtual int QueryBarSettingDefault();                                                // 105
    virtual int QueryTabSettingDefault();                                                // 106
    virtual bool AskParentForBackground(bool bClientOnly, CDC& dc, CObject* pHelperSrc,
                                        LPARAM lParam = 0);                              // 107
    virtual bool IsParentBackgroundOn();                                                 // 108
    virtual bool IsParentBackgroundAllowed(CObject* pHelperSrc, LPARAM lParam = 0);      // 109
    virtual bool UsesParentBackground(CObject* pHelperSrc, LPARAM lParam = 0);           // 110
    virtual bool FillControlBackground(bool bUnused, CDC& dc, const RECT& rc,
                                       CObject* pHelperSrc, LPARAM lParam = 0);          // 111
    virtual bool DrawWindowBackground(bool bClientOnly, CDC& dc, CWnd* pWnd,
                                      LPARAM lParam = 0);                                // 112
    virtual bool DrawWindowClientBackground(CDC& dc, CWnd* pWnd, LPARAM lParam = 0);     // 113
    virtual void DrawToolbarBackground(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                       LPARAM lParam = 0);                               // 114
    virtual void DrawDockBarBackground(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                       LPARAM lParam = 0);                               // 115
    virtual void FillBarGap(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                            LPARAM lParam = 0);                                          // 116
    virtual void DrawArrowButton(CDC& dc, bool bHorz, const RECT& rc, int nDirection,
                                 bool bHover, bool bPushed, CObject* pHelperSrc,
                                 LPARAM lParam = 0);                                     // 117
    virtual void DrawFieldBox(CDC& dc, PAINTFIELDBOXDATA& _pfbd);                        // 118
    virtual void OnSysColorChange();                                                     // 119
    virtual void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);                      // 120
    virtual void OnDisplayChange(int nBitsPerPixel, int cx, int cy);                     // 121
    virtual void OnThemeChanged(WPARAM wParam, LPARAM lParam);                           // 122
    virtual POINT GetTextOffset(POINT& ptOffset, bool bFlag);                            // 123
    virtual void DrawTextField(CDC& dc, PAINTTEXTFIELDDATA& _ptfd);                      // 124
    virtual COLORREF GetDisabledIconColor();                                             // 125
    virtual double GetDisabledIconAlpha();                                               // 126
    virtual SIZE GetToolbarRoundedCornerSize();                                          // 127
    virtual void DrawSizeGrip(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                              LPARAM lParam = 0);                                        // 128
    virtual void FillPanelBackground(CDC& dc, const RECT& rc, CObject* pHelperSrc);      // 129
    virtual void DrawPanelFrame(CDC& dc, const RECT& rc);                                // 130
    virtual void DrawPanelButton(CDC& dc, const RECT& rc, LPCTSTR sText, CExtCmdIcon* pIcon,
                                 bool bFramed, bool bHover, bool bPushed, bool bEnabled,
                                 CObject* pHelperSrc);                                   // 131
    virtual void DrawPanelBigText(CDC& dc, const RECT& rc, LPCTSTR sText,
                                  CObject* pHelperSrc);                                  // 132
    virtual void DrawPanelHeader(CDC& dc, const RECT& rc, LPCTSTR sText);                // 133
    virtual void DrawPanelButtonContent(CDC& dc, const RECT& rc, LPCTSTR sText,
                                        CExtCmdIcon* pIcon, bool bFramed, bool bHover,
                                        bool bPushed, bool bEnabled, CObject* pHelperSrc,
                                        bool bFlag);                                     // 134
    virtual void DrawPanelItemText(CDC& dc, const RECT& rc, LPCTSTR sText,
                                   CObject* pHelperSrc);                                 // 135
    virtual void DrawPanelBar(CDC& dc, const RECT& rc, LPCTSTR sText);                   // 136
    virtual void DrawPanelArrowGlyph(CDC& dc, const RECT& rc, int nValue1,
                                     int nValue2);                                       // 137
    virtual void DrawPanelSplitter(CDC& dc, const RECT& rc, bool bGripper);              // 138
    virtual void DrawPanelGripperDots(CDC& dc, const RECT& rc, int nOffsetY);            // 139
    virtual void FillPanelGradient(CDC& dc, const RECT& rc, CObject* pHelperSrc);        // 140
    virtual void FillPanelSolid(CDC& dc, const RECT& rc, CObject* pHelperSrc);           // 141
    virtual void DrawPanelItemFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc);       // 142
    virtual void DrawPanelCaptionBackground(CDC& dc, const RECT& rc, int nValue1,
                                            int nValue2, bool bSelected, bool bNotchLeft,
                                            bool bNotchRight, bool bThreePart,
                                            CObject* pHelperSrc);                        // 143
    virtual void DrawPanelCaption(CDC& dc, const RECT& rc, LPCTSTR sText, bool bExpander,
                                  bool bFlag1, bool bFlag2, bool bFlag3, int nPressedState,
                                  CObject* pHelperSrc);                                  // 144
    virtual void DrawPanelCaptionText(CDC& dc, const RECT& rc, LPCTSTR sText, int nState,
                                      CObject* pHelperSrc);                              // 145
    virtual void GetPanelMargins(RECT& rcMargins);                                       // 146
    virtual int GetPanelSysColorIndex();                                                 // 147
    virtual int GetPanelCaptionHeight();                                                 // 148
    virtual void GetPanelCaptionTextMargins(RECT& rcMargins);                            // 149
    virtual HFONT CreatePanelCaptionFont();                                              // 150
    virtual void DrawDatePickerButton(CDC& dc, const RECT& rc, int nUnused, LPCTSTR sText,
                                      bool bFlat, bool bDrawBorderOnHover, bool bPushed,
                                      bool bHover, CObject* pHelperSrc,
                                      LPARAM lParam = 0);                                // 151
    virtual void DrawDatePickerShadow(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                      LPARAM lParam = 0);                                // 152
    virtual void DrawDatePickerBackground(CDC& dc, const RECT& rcOuter, const RECT& rcInner,
                                          CObject* pHelperSrc, LPARAM lParam = 0);       // 153
    virtual void DrawDatePickerBorder(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                      LPARAM lParam = 0);                                // 154
    virtual void DrawDatePickerFrame(int nValue1, int nValue2, CDC& dc, int nValue4,
                                     int nValue5, const RECT& rcOuter, const RECT& rcInner,
                                     int nValue8, int nValue9, int nValue10,
                                     CObject* pHelperSrc, LPARAM lParam = 0);            // 155
    virtual void DrawUndoRedoCaption(CDC& dc, const RECT& rc, LPCTSTR sText,
                                     CObject* pHelperSrc);                               // 156
    virtual void GetSpinNcSize(RECT& rcNc, bool bAlignRight, bool bAlignLeft,
                               bool bExtra);                                             // 157
    virtual void DrawMarlettGlyph(CDC& dc, const RECT& rc, bool bTowardStart, bool bHorz,
                                  bool bEnabled, bool bPushed, bool bHover, bool bHighlight,
                                  CObject* pHelperSrc, LPARAM lParam = 0);               // 158
    virtual void DrawSpinButton(CDC& dc, const RECT& rc, bool bTowardStart, bool bHorz,
                                bool bEnabled, bool bFlat, bool bDrawBorderOnHover,
                                bool bPushed, bool bHover, bool bHighlight,
                                CObject* pHelperSrc, LPARAM lParam = 0);                 // 159
    virtual DockMarkerBase* GetDockMarker();                                             // 160
    virtual bool CreateDockMarkerWindows(CWnd* pWndParent, int nKind, const RECT& rc,
                                         CPtrArray& arrMarkerWindows);                   // 161
    virtual void DrawDockMarker(CDC& dc, const RECT& rc, int nKind, bool bHover,
                                CObject* pMarkerWnd, LPARAM lParam = 0);                 // 162
    virtual void GetDockMarkerMargins(RECT& rcMargins);                                  // 163
    virtual bool IsDockMarkerStyle1(int nUnused = 0);                                    // 164
    virtual void AdjustDockMarkerColor(int nKind, CExtBitmap& bmpFirst, COLORREF clrKeyFirst,
                                       CExtBitmap& bmpSecond, COLORREF clrKeySecond);    // 165
    virtual void PaintDockHighlight(DWORD* pPixels, int cx, int cy, bool bTwoRects,
                                    bool bTabAtTop, const RECT* pRectMain,
                                    const RECT* pRectTab, COLORREF clrFill,
                                    COLORREF clrBorder, int nBorderWidth);               // 166
    virtual void DrawBarButtonGradient(CDC& dc, CExtBarButton* pTBB, LPARAM lParam = 0);  // 167
    virtual int ReservedQuery168();                                                      // 168
    virtual void DrawGroupBoxFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                   LPARAM lParam = 0);                                   // 169
    virtual void DrawGroupBoxCaption(CDC& dc, LPCTSTR sText, COLORREF clrText, HFONT hFont,
                                     UINT nDrawTextFlags, bool bEnabled, const RECT& rc,
                                     CWnd* pWnd, LPARAM lParam = 0);                     // 170
    virtual bool ReservedQuery171();                                                     // 171
    // The six scroll-bar measures in this order: horizontal bar height, vertical bar
    // width, arrow length of a horizontal and of a vertical bar, shortest thumb of each.
    // True when the theme supplies them; no theme here does, so bars take the system's.
    virtual bool GetScrollBarMetrics(int* pHorzBarHeight, int* pVertBarWidth,
                                     int* pHorzButtonWidth, int* pVertButtonHeight,
                                     int* pHorzThumbMin, int* pVertThumbMin);
    virtual void DrawScrollBar(CDC& dc, PAINTSCROLLBARDATA& _psbd);                      // 172
    virtual CObject* GetScrollBarSkin(bool bHorz, CExtScrollBar* pBar, LPARAM lParam,
                                      bool bFlag);                                       // 173
    virtual bool DrawReportHeader(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                  LPARAM lParam = 0);                                    // 174
    virtual bool ReservedQuery175();                                                     // 175
    // A report header's sort arrow: true when the theme drew it. Every theme here leaves
    // the arrow to the header cell, which draws the glyph itself.
    virtual bool DrawReportSortArrow(CDC& dc, const RECT& rc, bool bAscending,
                                     CObject* pHelperSrc, LPARAM lParam = 0);
    // The whole group-area band of a report grid with its hint text (or NULL): true when
    // the theme painted it, so the group area skips its own hint box.
    virtual bool DrawReportGroupArea(CDC& dc, const RECT& rc, LPCTSTR sHintText,
                                     CObject* pHelperSrc, LPARAM lParam = 0);
    virtual bool ReservedQuery176();                                                     // 176
    virtual COLORREF GetReportColumnTextColor(CObject* pHelperSrc, signed char nValue);  // 177
    virtual void ReservedHook178();                                                      // 178
    virtual bool ReservedQuery179();                                                     // 179
    virtual bool ReservedQuery180();                                                     // 180
    virtual bool GetLunaBaseColors(COLORREF* pClr1, COLORREF* pClr2);                    // 181
    virtual void DrawGradientBackground(CDC& dc, RECT rc, bool bHorz, CObject* pHelperSrc,
                                        LPARAM lParam, COLORREF clrFirst,
                                        COLORREF clrSecond);                             // 182
    // Status-bar parts a theme may paint itself; each answers whether it did. No theme
    // here takes any of them over, so the status bar paints them.
    virtual bool StatusBar_QuerySeparators(CObject* pStatusBar, LPARAM lParam = 0)        // 183
    {
        (void)pStatusBar, (void)lParam;
        return false;
    }
    virtual bool StatusBar_EraseBackground(CDC& dc, const RECT& rcClient, CObject* pStatusBar,
                                           LPARAM lParam = 0)                            // 184
    {
        (void)dc, (void)rcClient, (void)pStatusBar, (void)lParam;
        return false;
    }
    virtual bool StatusBar_ErasePaneBackground(CDC& dc, int nPaneIdx, const RECT& rcPane,
                                               CObject* pStatusBar, LPARAM lParam = 0)   // 185
    {
        (void)dc, (void)nPaneIdx, (void)rcPane, (void)pStatusBar, (void)lParam;
        return false;
    }
    virtual bool StatusBar_PaintPane(CDC& dc, int nPaneIdx, const RECT& rcPane, DWORD dwPaneStyle,
                                     HICON hIcon, LPCTSTR sPaneText, UINT nDrawTextFlags,
                                     COLORREF clrText, CObject* pStatusBar,
                                     LPARAM lParam = 0)                                  // 186
    {
        (void)dc, (void)nPaneIdx, (void)rcPane, (void)dwPaneStyle, (void)hIcon, (void)sPaneText;
        (void)nDrawTextFlags, (void)clrText, (void)pStatusBar, (void)lParam;
        return false;
    }
    virtual bool StatusBar_PaintSeparator(CDC& dc, int nPaneIdxAfterSep, const RECT& rcPaneBefore,
                                          const RECT& rcPaneAfter, CObject* pStatusBar,
                                          LPARAM lParam = 0)                             // 187
    {
        (void)dc, (void)nPaneIdxAfterSep, (void)rcPaneBefore, (void)rcPaneAfter, (void)pStatusBar;
        (void)lParam;
        return false;
    }

    // ---- colours (non-virtual) ---------------------------------------------------------
    int InstallColor(COLORREF clr, int nIndex = -1);
    int GetColorTableSize() const { return (int)m_colors.GetSize(); }
    int GetBrushTableSize() const { return (int)m_brushes.GetSize(); }
    // The colour index a logical id maps to, -1 when the map lacks it.
    int MapLogicalColor(int nLogicalId) const;
    CBrush& GetAuxBrush(int nIndex) { return m_brushAux[nIndex]; }

    // ---- drawing primitives (static) ---------------------------------------------------
    static void GradientFillRect(CDC& dc, const RECT& rcFill, COLORREF clr1, COLORREF clr2,
                                 bool bVertical = false, UINT nMaxStepCount = 256);
    static void GradientFillTwoPart(CDC& dc, const RECT& rcFill, COLORREF clr1, COLORREF clr2,
                                    COLORREF clr3, bool bVertical, int nNumerator,
                                    int nDenominator, UINT nMaxStepCount = 256);
    static void TransparentBltByColor(HDC hDstDC, int nDstX, int nDstY, int nDstCX, int nDstCY,
                                      HDC hSrcDC, int nSrcX, int nSrcY, int nSrcCX, int nSrcCY,
                                      COLORREF clrTransparent);
    static void ClipOutChildren(CDC* pDC, HWND hWndParent, pfnClipOutFilter pfnFilter = NULL,
                                LPARAM lParam = 0);
    static HBITMAP CreatePatternBitmap(COLORREF clr1 = COLORREF(-1),
                                       COLORREF clr2 = COLORREF(-1), int nMaskX1 = 1,
                                       int nMaskY1 = 1, int nMaskX2 = 0, int nMaskY2 = 0,
                                       COLORREF clr3 = COLORREF(-1));
    static HFONT CreateSystemFont(bool bUseFallbackFace, bool bSmallCaptionFont);
    static int CALLBACK FontFaceEnumProc(const LOGFONT* pLF, const TEXTMETRIC* pTM,
                                         DWORD nFontType, LPARAM lParam);
    static bool IsFontFaceInstalled(LPCTSTR sFaceName);
    static void DrawRadioDot(CDC& dc, int x, int y, COLORREF clr);
    static void DrawCheckMark(CDC& dc, int x, int y, COLORREF clr);
    static void DrawEdgeRect(CDC& dc, int x, int y, int cx, int cy, COLORREF clrTopLeft,
                             COLORREF clrBottomRight);
    static void DrawEdgeRect(CDC& dc, const RECT& rc, COLORREF clrTopLeft,
                             COLORREF clrBottomRight);
    static void FillTabAreaAndEdge(CExtPaintManager* pPM, CDC& dc, const RECT& rcArea,
                                   const RECT& rcItem, int nSide, bool bNoItem,
                                   COLORREF clrArea, COLORREF clrItem, COLORREF clrEdge);
    // One item of a tab strip: its body (selected frame, grouped frame or separator), its
    // icon and its text; the classic themes' DrawTabItem hand their colours to it.
    static void PaintTabItemShared(CDC& dc, const RECT& rcItemsArea, bool bTopLeft, bool bHorz,
                                   bool bSelected, bool bEnabled, bool bCenteredText,
                                   bool bGroupedMode, bool bInGroupActive,
                                   bool bInvertedVerticalMode, bool bDrawIcon,
                                   const RECT& rcItem, int cxTextMeasured, int cyTextMeasured,
                                   CFont* pFont, LPCTSTR sText, CExtCmdIcon* pIcon,
                                   COLORREF clrText, COLORREF clrTabBk, COLORREF clrTabBorderLT,
                                   COLORREF clrTabBorderRB, COLORREF clrTabSeparator);

    // ---- static services ---------------------------------------------------------------
    static HBITMAP PrintWindowToBitmap(HWND hWnd, UINT nMessage = WM_PRINT,
                                       LPARAM lParamPrint = PRF_NONCLIENT | PRF_CLIENT |
                                                            PRF_ERASEBKGND | PRF_CHILDREN);
    static void PrintChildWindows(HWND hWndParent, UINT nMessage, HDC hDC, LPARAM lParamPrint,
                                  bool bRecurse);
    static DWORD QueryDllVersion(LPCTSTR sDllName);
    static bool IsTransparentChild(HWND hWnd);
    static bool stat_ClipFilterTransparentChild(HDC hDC, HWND hWndParent, HWND hWndChild,
                                                LPARAM lParam);
    static bool stat_ClipFilterNoLParam(HDC hDC, HWND hWndParent, HWND hWndChild,
                                        LPARAM lParam);
    static HICON CreateTextColorIcon(COLORREF clr, HFONT hFont, LPCTSTR sText);
    // 16x16 icons of colour buttons: an opaque square of the colour, and a 2-pixel band
    // of it round a transparent centre. The caller destroys them.
    static HICON CreateColorIcon(COLORREF clr);
    static HICON CreateColorFrameIcon(COLORREF clr);

    static void MonitorDataFromDesktop(MONITORDATA& md);
    static void MonitorDataFromPoint(MONITORDATA& md, POINT pt);
    static void MonitorDataFromRect(MONITORDATA& md, const RECT& rc);
    static void MonitorDataFromHwnd(MONITORDATA& md, HWND hWnd);
    static void MonitorDataFromWnd(MONITORDATA& md, CWnd* pWnd);
    static RECT FitRectIntoMonitor(RECT rc, bool bUseWorkArea = true,
                                   bool bKeepFullyInside = false);
    // The bounds form of the placement rule, for callers (and tests) that already know
    // the monitor.
    static RECT FitRectIntoBounds(RECT rc, const RECT& rcBounds, bool bKeepFullyInside);
    static RECT MeasureText(RECT& rcOut, CDC& dc, CFont* pFont, LPCTSTR sText,
                            UINT nDrawTextFlags = 0);
    static int MeasureTextWidth(CDC& dc, CFont* pFont, LPCTSTR sText);
    SIZE GetFontTextHeights(bool bBold);
    static void DrawDottedLineHorz(CDC& dc, int x1, int x2, int y, COLORREF clr);
    static void DrawDottedLineVert(CDC& dc, int x, int y1, int y2, COLORREF clr);
    static int GetScreenBitsPerPixel();
    // Bits per pixel of what a DC draws on: the selected bitmap of a memory DC, else the
    // device's own depth.
    static int GetDcBitsPerPixel(HDC hDC);
    static void PumpPaintMessages(bool bNcPaint = true, bool bEraseBkgnd = true,
                                  bool bPaint = true);

    // Non-zero replaces the screen depth that GetScreenBitsPerPixel reports, so that the
    // palette-display rules can be exercised on any display. Tests only.
    static int g_nScreenBitsPerPixelOverride;

    // ---- data ----------------------------------------------------------------------------
    CArray<COLORREF, COLORREF> m_colors;
    CArray<HBRUSH, HBRUSH> m_brushes;
    CMap<int, int, int, int> m_mapColorTranslate;
    CPalette m_PaletteWide;
    int m_nReservedIndex;
    CBrush m_brushAux[12];
    CFont m_FontNormal;
    CFont m_FontNormalVert;
    CFont m_FontNormalVertX;
    CFont m_FontBold;
    CFont m_FontBoldVert;
    CFont m_FontBoldVertX;
    CFont m_FontNormalBC;
    CFont m_FontNormalVertBC;
    CFont m_FontNormalVertXBC;
    CFont m_FontBoldBC;
    CFont m_FontBoldVertBC;
    CFont m_FontBoldVertXBC;
    CFont m_FontNormalBC2;
    CFont m_FontNormalVertBC2;
    CFont m_FontNormalVertXBC2;
    CFont m_FontBoldBC2;
    CFont m_FontBoldVertBC2;
    CFont m_FontBoldVertXBC2;
    CFont m_FontMarlett;
    int m_nThemeValue;
    BYTE m_nOptionFlags;  // bit 0: NT 5 or later; bit 1: parent-background painting on
    int m_nDockMarkerStyle;
    BYTE m_nScrollBarFlags;
    // Registered "CExtPaintManager::g_nMsgPaintInheritedBackground": a child asks its
    // parents to paint the background beneath it (wParam: PAINTPARENTBACKGROUNDDATA*).
    static const UINT g_nMsgPaintInheritedBackground;

    enum
    {
        __SYS_COLOR_COUNT = 50,
        __AUX_BRUSH_COUNT = 12,
        __FONT_COUNT = 19,
    };
    // The nineteen fonts in their documented order.
    CFont* GetFontByIndex(int nIndex);

protected:
    // The re-synchronisation that installing a theme and every system change runs.
    void Resync();
    // The base map of logical ids.
    void InitBaseLogicalColorMap();
    // The caption text of a bar in the given colour (font, alignment, rotation).
    void DrawBarCaptionText(CDC& dc, PAINTBARCAPTIONDATA& _pbcd, COLORREF clrText);
    // The classic bar frame with the given outer (floating) and inner frame colours.
    void DrawBarFrameClassic(CDC& dc, PAINTBARFRAMEDATA& _pbfd, COLORREF clrOuterTL,
                             COLORREF clrOuterBR, COLORREF clrInnerTL, COLORREF clrInnerBR);
    // The class library's bar-border lines (dock bars and status bars).
    void DrawBarBorderLines(CDC& dc, PAINTBARBORDERDATA& _pbbd);
    // Menu-item parts both menu looks share: the sub-menu arrow and the embedded field's
    // text.
    void DrawMenuEntryArrow(CDC& dc, PAINTMENUENTRYDATA& _pmed, bool bRTL, COLORREF clrText,
                            COLORREF clrGlyph, bool bXpLook, bool bSelectionByHook);
    void DrawMenuEntryFieldText(CDC& dc, PAINTMENUENTRYDATA& _pmed, const RECT& rcField,
                                int nTopInset, bool bRTL);
    // The steps of the classic DrawMenuEntry.
    RECT PaintClassicMenuEntryBackground(CDC& dc, PAINTMENUENTRYDATA& _pmed, bool bRTL);
    void DrawClassicMenuEntryTexts(CDC& dc, PAINTMENUENTRYDATA& _pmed, const RECT& rcContent, bool bRTL);
    void DrawClassicMenuEntryIcon(CDC& dc, PAINTMENUENTRYDATA& _pmed, bool bRTL);
    void DrawClassicMenuEntryField(CDC& dc, PAINTMENUENTRYDATA& _pmed, bool bRTL);
    // The classic chevron button with the given pair of glyphs (the XP look rounds the
    // centring the other way and shows a disabled arrow flat).
    void DrawChevronButtonClassic(CDC& dc, const RECT& rc, bool bHorz, bool bNoHiddenButtons,
                                  bool bEnabled, bool bPushed, bool bHover, CObject* pHelperSrc,
                                  LPARAM lParam, bool bTransparentBackground,
                                  const glyph& glyphDrop, const glyph& glyphChevron,
                                  bool bXpLook);
    void DrawFieldBoxImpl(CDC& dc, PAINTFIELDBOXDATA& _pfbd, bool bXpLook);
    void DrawTextFieldText(CDC& dc, PAINTTEXTFIELDDATA& _ptfd);
    void MapColor(int nLogicalId, int nColorIndex) { m_mapColorTranslate.SetAt(nLogicalId, nColorIndex); }
    void MapNewColor(int nLogicalId, COLORREF clr) { MapColor(nLogicalId, InstallColor(clr)); }

private:
    void RefreshFonts();
    void RefreshColors();
};

class CExtPaintManagerXP : public CExtPaintManager
{
    DECLARE_DYNCREATE(CExtPaintManagerXP)
public:
    CExtPaintManagerXP();
    virtual ~CExtPaintManagerXP();

    virtual int GetThemeId();
    virtual int GetThemeStyleValue();
    virtual bool UsesLunaColors();
    virtual COLORREF GetBackgroundColor(CObject* pHelperSrc = NULL, LPARAM lParam = 0);
    virtual void InitLogicalColorMap();
    virtual SIZE GetPushedOffset();
    virtual void PaintIcon(CDC* pDC, bool bHorz, const CString& sText, CExtCmdIcon* pIcon,
                           const RECT& rcItem, RECT& rcCaption, bool bPushed, bool bEnabled,
                           bool bHover, INT nIconAlignment, bool bRTL,
                           COLORREF clrIcon = COLORREF(-1));
    virtual void DrawGlyphButton(CDC& dc, PAINTGLYPHBUTTONDATA& _pgbd);
    virtual void DrawSysCommandGlyph(CDC& dc, UINT nHelperSysCmdID, const RECT& rc,
                                     bool bHover, bool bPushed, bool bEnabled);
    virtual void DrawPushButton(CDC& dc, PAINTBUTTONDATA& _ppbd);
    virtual bool ReservedQuery101();
    // tabs, panels, small controls
    virtual void DrawTabItem(CDC& dc, PAINTTABITEMDATA& _ptid);
    virtual void DrawTabPart(CDC& dc, const RECT& rcWhole, const RECT& rcItemsArea,
                             const RECT& rcBorder, DWORD dwOrientation, bool bNoBorder,
                             CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DrawTabWndFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                 LPARAM lParam = 0);
    virtual void DrawSimpleFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                 LPARAM lParam = 0);
    virtual void DrawPanelFrame(CDC& dc, const RECT& rc);
    virtual void DrawPanelButton(CDC& dc, const RECT& rc, LPCTSTR sText, CExtCmdIcon* pIcon,
                                 bool bFramed, bool bHover, bool bPushed, bool bEnabled,
                                 CObject* pHelperSrc);
    virtual void DrawPanelItemFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc);
    virtual void DrawPanelCaption(CDC& dc, const RECT& rc, LPCTSTR sText, bool bExpander,
                                  bool bFlag1, bool bFlag2, bool bFlag3, int nPressedState,
                                  CObject* pHelperSrc);
    virtual int GetPanelCaptionHeight();
    virtual void GetPanelCaptionTextMargins(RECT& rcMargins);
    virtual void DrawUndoRedoCaption(CDC& dc, const RECT& rc, LPCTSTR sText,
                                     CObject* pHelperSrc);
    virtual void DrawSpinButton(CDC& dc, const RECT& rc, bool bTowardStart, bool bHorz,
                                bool bEnabled, bool bFlat, bool bDrawBorderOnHover,
                                bool bPushed, bool bHover, bool bHighlight,
                                CObject* pHelperSrc, LPARAM lParam = 0);
    virtual bool ReservedQuery102();
    virtual void ReservedHook178();
    virtual bool ReservedQuery179();
    virtual bool ReservedQuery180();
    virtual bool DrawWindowBackground(bool bClientOnly, CDC& dc, CWnd* pWnd, LPARAM lParam = 0);
    virtual void FillBarGap(CDC& dc, const RECT& rc, CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DeflateBarRect(CExtControlBar* pBar, RECT& rc);
    virtual void DrawBarCaption(CDC& dc, PAINTBARCAPTIONDATA& _pbcd);
    virtual void DrawBarFrame(CDC& dc, PAINTBARFRAMEDATA& _pbfd);
    virtual void DrawSeparator(CDC& dc, const RECT& rc, bool bVertLine, bool bTransparentBk,
                               CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DrawEditFrame(CDC& dc, PAINTEDITFRAMEDATA& _pefd);
    virtual void DrawComboBoxFrame(CDC& dc, PAINTCOMBOBOXDATA& _pcbd);
    virtual void DrawBarBorder(CDC& dc, PAINTBARBORDERDATA& _pbbd);
    virtual void DrawMenuEntry(CDC& dc, PAINTMENUENTRYDATA& _pmed);
    // Hooks of the flat menu look: after the row background is painted; before the
    // selection is painted (true: the hook painted it); before a check cell or a checked
    // icon frame is filled (true: the hook filled it). No theme of the toolkit uses them.
    virtual void PaintMenuAreaHook(CDC& dc, PAINTMENUENTRYDATA& _pmed, RECT& rcLeftArea,
                                   RECT& rcRest);
    virtual bool PaintMenuSelectionHook(CDC& dc, PAINTMENUENTRYDATA& _pmed, RECT& rcSelection);
    virtual bool PaintMenuCheckHook(CDC& dc, PAINTMENUENTRYDATA& _pmed, RECT& rcCheck,
                                    bool bIconFrame);
    // The left area of a menu row: the theme's gradient where it has one, else flat.
    void FillMenuLeftArea(CDC& dc, const RECT& rcArea, bool bRarelyUsed, bool bNoGradient,
                          CObject* pSrc, LPARAM lParam);
    void FillMenuCheckArea(CDC& dc, const RECT& rc, bool bSelected, COLORREF clrCheckFill,
                           CObject* pSrc, LPARAM lParam);
    virtual void GetMenuBorderMargins(RECT& rcMargins, CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DrawMenuFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DrawMenuSeparator(CDC& dc, const RECT& rc, int nLeftAreaWidth, bool bRarelyUsed,
                                   CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DrawMenuTearOffCaption(CDC& dc, const RECT& rc, bool bHover, bool bPushed,
                                        CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DrawMenuExpandButton(CDC& dc, const RECT& rc, bool bHover, bool bUnused,
                                      CObject* pHelperSrc, LPARAM lParam = 0);
    // The flat expand button without its glyph; answers where the glyph goes.
    RECT DrawMenuExpandButtonFace(CDC& dc, const RECT& rc, bool bHover, CObject* pHelperSrc,
                                  LPARAM lParam);
    virtual void DrawChevronButton(CDC& dc, const RECT& rc, bool bHorzBar, bool bNoHiddenButtons,
                                   bool bEnabled, bool bPushed, bool bHover, CObject* pHelperSrc,
                                   LPARAM lParam = 0, bool bTransparentBackground = false);
    virtual void DrawMenuBorder(CDC& dc, const RECT& rcOuter, const RECT& rcInner, int nOpenSide,
                                CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DrawFieldBox(CDC& dc, PAINTFIELDBOXDATA& _pfbd);
    virtual void DrawTextField(CDC& dc, PAINTTEXTFIELDDATA& _ptfd);
    // Fills the four chevron glyph pointers with the pair of this look where empty.
    void EnsureChevronGlyphs();

    BYTE m_nXpFlags;
    const glyph* m_pGlyphMenuDropHorz;
    const glyph* m_pGlyphMenuChevronHorz;
    const glyph* m_pGlyphMenuDropVert;
    const glyph* m_pGlyphMenuChevronVert;
    // First colour group: logical ids of the menu's left-area gradients, each set held as
    // its leading colour, its trailing colour and then the colour at the middle.
    int m_nIdxClrMlaNormLeft;
    int m_nIdxClrMlaNormRight;
    int m_nIdxClrMlaNormMiddle;
    int m_nIdxClrMlaRarelyLeft;
    int m_nIdxClrMlaRarelyRight;
    int m_nIdxClrMlaRarelyMiddle;
    int m_nIdxClrTbFillMargin;
    int m_nIdxClrTbFillReserved;
    // Second colour group: gradient pairs of push buttons (hover, pushed, hover-pushed).
    int m_nIdxClrBtnHoverLeft;
    int m_nIdxClrBtnHoverRight;
    int m_nIdxClrBtnPressedLeft;
    int m_nIdxClrBtnPressedRight;
    int m_nIdxClrBtnHovPresLeft;
    int m_nIdxClrBtnHovPresRight;
    // Drop-down arrow colours of enabled and disabled push buttons.
    int m_nIdxClrBtnDropArrowEnabled;
    int m_nIdxClrBtnDropArrowDisabled;

protected:
    // The steps of the flat DrawMenuEntry.
    RECT PaintXpMenuEntryBackground(CDC& dc, PAINTMENUENTRYDATA& _pmed, bool bRTL);
    bool PaintXpMenuEntrySelection(CDC& dc, PAINTMENUENTRYDATA& _pmed);
    void DrawXpMenuEntryTexts(CDC& dc, PAINTMENUENTRYDATA& _pmed, const RECT& rcRest, bool bRTL, bool bSelectionByHook);
    void DrawXpMenuEntryIcon(CDC& dc, PAINTMENUENTRYDATA& _pmed, bool bRTL);
    void DrawXpMenuEntryField(CDC& dc, PAINTMENUENTRYDATA& _pmed, bool bRTL);
};

class CExtPaintManagerOffice2003 : public CExtPaintManagerXP
{
    DECLARE_DYNCREATE(CExtPaintManagerOffice2003)
public:
    CExtPaintManagerOffice2003();
    virtual ~CExtPaintManagerOffice2003();

    virtual int GetThemeId();
    virtual void QueryItemColors(bool bFlag, bool bHighlighted, COLORREF& clr1,
                                 COLORREF& clr2, COLORREF& clr3, COLORREF& clr4,
                                 COLORREF& clr5);
    virtual void QueryPanelColors(bool bFlag, int nUnused, COLORREF& clr1, COLORREF& clr2,
                                  COLORREF& clr3, COLORREF& clr4);
    virtual bool UsesLunaColors();
    virtual COLORREF GetLunaDerivedColor();
    virtual void InitLogicalColorMap();
    virtual bool ReservedQuery102();
    virtual COLORREF GetDisabledIconColor();
    virtual double GetDisabledIconAlpha();
    virtual bool GetLunaBaseColors(COLORREF* pClr1, COLORREF* pClr2);

    virtual void FillToolbarArea(CDC& dc, CExtToolControlBar* pBar, DWORD dwValue,
                                 const RECT& rcArea);
    // tabs, panels, small controls, dock markers
    virtual void DrawTabPart(CDC& dc, const RECT& rcWhole, const RECT& rcItemsArea,
                             const RECT& rcBorder, DWORD dwOrientation, bool bNoBorder,
                             CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DrawPanelFrame(CDC& dc, const RECT& rc);
    virtual void DrawPanelButton(CDC& dc, const RECT& rc, LPCTSTR sText, CExtCmdIcon* pIcon,
                                 bool bFramed, bool bHover, bool bPushed, bool bEnabled,
                                 CObject* pHelperSrc);
    virtual void DrawPanelHeader(CDC& dc, const RECT& rc, LPCTSTR sText);
    virtual void DrawPanelBar(CDC& dc, const RECT& rc, LPCTSTR sText);
    virtual void DrawPanelSplitter(CDC& dc, const RECT& rc, bool bGripper);
    virtual void DrawPanelCaption(CDC& dc, const RECT& rc, LPCTSTR sText, bool bExpander,
                                  bool bFlag1, bool bFlag2, bool bFlag3, int nPressedState,
                                  CObject* pHelperSrc);
    virtual void GetPanelMargins(RECT& rcMargins);
    virtual void GetPanelCaptionTextMargins(RECT& rcMargins);
    virtual HFONT CreatePanelCaptionFont();
    virtual void DrawDatePickerBorder(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                      LPARAM lParam = 0);
    virtual void DrawDatePickerFrame(int nValue1, int nValue2, CDC& dc, int nValue4,
                                     int nValue5, const RECT& rcOuter, const RECT& rcInner,
                                     int nValue8, int nValue9, int nValue10,
                                     CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DrawSpinButton(CDC& dc, const RECT& rc, bool bTowardStart, bool bHorz,
                                bool bEnabled, bool bFlat, bool bDrawBorderOnHover,
                                bool bPushed, bool bHover, bool bHighlight,
                                CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DrawBarButtonGradient(CDC& dc, CExtBarButton* pTBB, LPARAM lParam = 0);
    virtual bool DrawReportHeader(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                  LPARAM lParam = 0);
    virtual void DrawGradientBackground(CDC& dc, RECT rc, bool bHorz, CObject* pHelperSrc,
                                        LPARAM lParam, COLORREF clrFirst,
                                        COLORREF clrSecond);
    virtual void AdjustDockMarkerColor(int nKind, CExtBitmap& bmpFirst, COLORREF clrKeyFirst,
                                       CExtBitmap& bmpSecond, COLORREF clrKeySecond);
    virtual void PaintDockHighlight(DWORD* pPixels, int cx, int cy, bool bTwoRects,
                                    bool bTabAtTop, const RECT* pRectMain,
                                    const RECT* pRectTab, COLORREF clrFill,
                                    COLORREF clrBorder, int nBorderWidth);
    virtual bool UsesParentBackground(CObject* pHelperSrc, LPARAM lParam = 0);
    virtual bool FillControlBackground(bool bUnused, CDC& dc, const RECT& rc,
                                       CObject* pHelperSrc, LPARAM lParam = 0);
    virtual bool DrawWindowBackground(bool bClientOnly, CDC& dc, CWnd* pWnd, LPARAM lParam = 0);
    virtual void DrawToolbarBackground(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                       LPARAM lParam = 0);
    virtual void DrawDockBarBackground(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                       LPARAM lParam = 0);
    virtual SIZE GetToolbarRoundedCornerSize();
    virtual void DeflateBarRect(CExtControlBar* pBar, RECT& rc);
    virtual int GetToolbarSpacing(CExtControlBar* pBar);
    virtual bool UsesToolbarGradient(CExtControlBar* pBar);
    virtual void DrawBarCaption(CDC& dc, PAINTBARCAPTIONDATA& _pbcd);
    virtual void DrawBarFrame(CDC& dc, PAINTBARFRAMEDATA& _pbfd);
    virtual void DrawSeparator(CDC& dc, const RECT& rc, bool bVertLine, bool bTransparentBk,
                               CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DrawEditFrame(CDC& dc, PAINTEDITFRAMEDATA& _pefd);
    virtual void DrawComboBoxFrame(CDC& dc, PAINTCOMBOBOXDATA& _pcbd);
    virtual void DrawBarBorder(CDC& dc, PAINTBARBORDERDATA& _pbbd);
    virtual void DrawSizeGrip(CDC& dc, const RECT& rc, CObject* pHelperSrc, LPARAM lParam = 0);
    virtual int GetMenuCheckHeight();
    virtual void DrawMenuTearOffCaption(CDC& dc, const RECT& rc, bool bHover, bool bPushed,
                                        CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DrawMenuExpandButton(CDC& dc, const RECT& rc, bool bHover, bool bUnused,
                                      CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DrawChevronButton(CDC& dc, const RECT& rc, bool bHorzBar, bool bNoHiddenButtons,
                                   bool bEnabled, bool bPushed, bool bHover, CObject* pHelperSrc,
                                   LPARAM lParam = 0, bool bTransparentBackground = false);
    virtual void DrawMenuBorder(CDC& dc, const RECT& rcOuter, const RECT& rcInner, int nOpenSide,
                                CObject* pHelperSrc, LPARAM lParam = 0);
    virtual POINT GetTextOffset(POINT& ptOffset, bool bFlag);
    int m_nIdxClrTbBorder;  // logical id of the toolbar border, set by the Luna paths

protected:
    void InitLunaColorMap(COLORREF clrL1, COLORREF clrL2, int nScheme);
    void InitSystemColorMap();
    // Steps that the Office 2003 and the Studio 2005 Luna maps share.
    void MapLunaEdgeColors(COLORREF clrEdges, COLORREF clrL1);
    void MapLunaPanelAndButtonColors(COLORREF clrL1);
    // The rounded toolbar face: the theme's bar gradient inside the rounded clip, with
    // the shadow line; shared by the toolbar background and the toolbar gripper.
    void PaintToolbarBarGradient(CDC& dc, CWnd* pBar, bool bHorz, LPARAM lParam);
    // The Office 2003 gripper: a line of raised dots along the gripper rectangle.
    void DrawGripperDots(CDC& dc, const RECT& rcGripper, bool bHorz, CObject* pSrc,
                         LPARAM lParam);
};

class CExtPaintManagerStudio2005 : public CExtPaintManagerOffice2003
{
    DECLARE_DYNCREATE(CExtPaintManagerStudio2005)
public:
    CExtPaintManagerStudio2005();
    virtual ~CExtPaintManagerStudio2005();

    virtual int GetThemeId();
    virtual void QueryItemColors(bool bFlag, bool bHighlighted, COLORREF& clr1,
                                 COLORREF& clr2, COLORREF& clr3, COLORREF& clr4,
                                 COLORREF& clr5);
    virtual bool UsesLunaColors();
    virtual COLORREF GetLunaDerivedColor();
    virtual void InitLogicalColorMap();
    virtual COLORREF GetDisabledIconColor();
    virtual double GetDisabledIconAlpha();
    virtual bool GetLunaBaseColors(COLORREF* pClr1, COLORREF* pClr2);
    virtual void DrawGlyphButton(CDC& dc, PAINTGLYPHBUTTONDATA& _pgbd);
    // tabs
    virtual void GetTabColors(COLORREF* pClr1, COLORREF* pClr2, COLORREF* pClr3,
                              COLORREF* pClr4, CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void DrawTabItem(CDC& dc, PAINTTABITEMDATA& _ptid);
    virtual void DrawTabArea(CDC& dc, const RECT& rcArea, const RECT& rcReference,
                             int nUnused1, DWORD dwOrientation, int nUnused2,
                             CObject* pHelperSrc, LPARAM lParam = 0);
    virtual void GetTabMetrics(CObject* pTabWnd, int& nFirst, int& nSecond, int& nThird);
    virtual void AdjustTabItemSize(CObject* pTabWnd, CObject* pTabItemInfo, int nUnused,
                                   SIZE& size);

    virtual void DrawBarCaption(CDC& dc, PAINTBARCAPTIONDATA& _pbcd);
    virtual void DrawBarFrame(CDC& dc, PAINTBARFRAMEDATA& _pbfd);
    virtual void DrawSeparator(CDC& dc, const RECT& rc, bool bVertLine, bool bTransparentBk,
                               CObject* pHelperSrc, LPARAM lParam = 0);
    virtual int QueryBarSettingDefault();
    virtual int QueryTabSettingDefault();
protected:
    void InitBlueColorMap(COLORREF clrL1, COLORREF clrL2);
};

// The link of a themed window to the paint manager.
class CExtPmBridge
{
public:
    virtual ~CExtPmBridge();
    virtual void RegisterWithHolder() = 0;
    virtual void UnregisterFromHolder() = 0;
    virtual HWND GetBridgeHwnd() = 0;
    virtual CExtPaintManager* GetPaintManager() = 0;
    virtual void OnPaintManagerInstalled(CExtPaintManager* pPM);
    virtual void OnSysColorsChanged(CExtPaintManager* pPM, CWnd* pWndRelay);
    virtual void OnSystemSettingChanged(CExtPaintManager* pPM, CWnd* pWndRelay, UINT uFlags,
                                        LPCTSTR lpszSection);
    virtual void OnDisplayModeChanged(CExtPaintManager* pPM, CWnd* pWndRelay,
                                      int nBitsPerPixel, int cx, int cy);
    virtual void OnVisualThemeChanged(CExtPaintManager* pPM, CWnd* pWndRelay, WPARAM wParam,
                                      LPARAM lParam);
};

// The one owner of the current paint manager and of the platform facts.
class CExtPaintManagerHolder
{
public:
    CExtPaintManagerHolder();
    ~CExtPaintManagerHolder();

    bool EnsureInstalled();
    CExtPaintManager* operator->();
    operator CExtPaintManager*();
    CExtPaintManager* GetPM();
    bool InstallPaintManager(CExtPaintManager* pPM);
    bool InstallPaintManagerByClass(CRuntimeClass* pRTC);

    void RegisterBridge(CExtPmBridge* pBridge);
    void UnregisterBridge(CExtPmBridge* pBridge);
    bool IsBridgeRegistered(CExtPmBridge* pBridge) const;
    int GetBridgeCount() const { return (int)m_mapBridges.GetCount(); }

    static bool IsSystemChangeRelay(CWnd* pWnd);
    void OnSysColorChange(CWnd* pWndRelay);
    void OnSettingChange(CWnd* pWndRelay, UINT uFlags, LPCTSTR lpszSection);
    void OnDisplayChange(CWnd* pWndRelay, int nBitsPerPixel, int cx, int cy);
    void OnThemeChanged(CWnd* pWndRelay, WPARAM wParam, LPARAM lParam);
    // One system-change message (WM_SYSCOLORCHANGE, WM_SETTINGCHANGE, WM_DISPLAYCHANGE or
    // WM_THEMECHANGED) of a relay window, passed to this holder and then to the command
    // manager with the paint manager that paints the window.
    void RelaySystemChange(CWnd* pWndRelay, CExtPaintManager* pPM, UINT nMessage, WPARAM wParam,
                           LPARAM lParam);

    int GetWheelLinesPerNotch();

    // The Luna colour-scheme detection; run by the constructor and every font refresh.
    void DetectLunaColorScheme();
    bool IsAppThemed() { return m_UxTheme.IsAppThemed(); }
    bool AreTaskbandColorsRead() const { return (m_nOsFlags2 & 0x10) != 0; }

    // The run-time class of an object derives from a class of the given name. Lets the
    // theme recognise windows of libraries linked after it without naming their symbols.
    static bool IsKindOfByName(const CObject* pObj, LPCSTR sClassName);

    // Gives the core services (linked before the theme engine) what they need of the
    // paint manager: the command icon's theme hooks and the relay test of the command
    // manager.
    static void RegisterCoreHooks();

    // The MDI tab window's own test (does this window act as a frame's MDI tab strip),
    // installed by the library that has MDI tab windows; null until then. It answers
    // false for any window that is no MDI tab window.
    typedef bool (*pfnQueryMdiTabRelay)(CWnd* pWnd);
    static pfnQueryMdiTabRelay g_pfnQueryMdiTabRelay;

    // ---- fields -----------------------------------------------------------------------
    CExtPaintManager* m_pPM;
    CTypedPtrMap<CMapPtrToPtr, CExtPmBridge*, void*> m_mapBridges;
    BYTE m_nCacheFlags;
    int m_nWheelLines;
    CString m_strOsVer;
    OSVERSIONINFOA m_osVerData;
    BYTE m_nOsFlags1;
    BYTE m_nOsFlags2;
    COLORREF m_clrTaskband[7];
    UxThemeLibrary m_UxTheme;
    int m_nLunaColorScheme;
    HMODULE m_hDllMsImg;
    typedef BOOL(WINAPI* PFN_GradientFill)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
    typedef BOOL(WINAPI* PFN_AlphaBlend)(HDC, int, int, int, int, HDC, int, int, int, int,
                                         BLENDFUNCTION);
    typedef BOOL(WINAPI* PFN_AlphaDIBBlend)(HDC, int, int, int, int, const void*,
                                            const BITMAPINFO*, UINT, int, int, int, int,
                                            BLENDFUNCTION);
    typedef BOOL(WINAPI* PFN_TransparentBlt)(HDC, int, int, int, int, HDC, int, int, int, int,
                                             UINT);
    typedef BOOL(WINAPI* PFN_TransparentDIBits)(HDC, int, int, int, int, const void*,
                                                const BITMAPINFO*, UINT, int, int, int, int,
                                                UINT);
    PFN_GradientFill m_pfnMsImgGradientFill;
    PFN_AlphaBlend m_pfnMsImgAlphaBlend;
    PFN_AlphaDIBBlend m_pfnMsImgAlphaDIBBlend;
    PFN_TransparentBlt m_pfnMsImgTransparentBlt;
    PFN_TransparentDIBits m_pfnMsImgTransparentDIBits;
    HMODULE m_hDllUser32;
    typedef BOOL(WINAPI* PFN_AnimateWindow)(HWND, DWORD, DWORD);
    typedef BOOL(WINAPI* PFN_SetLayeredWindowAttributes)(HWND, COLORREF, BYTE, DWORD);
    typedef BOOL(WINAPI* PFN_UpdateLayeredWindow)(HWND, HDC, POINT*, SIZE*, HDC, POINT*,
                                                  COLORREF, BLENDFUNCTION*, DWORD);
    PFN_AnimateWindow m_pfnAnimateWindow;
    PFN_SetLayeredWindowAttributes m_pfnSetLayeredWindowAttributes;
    PFN_UpdateLayeredWindow m_pfnUpdateLayeredWindow;

    // Readable names of the OS flag bits.
    bool IsWin32s() const { return (m_nOsFlags1 & 0x01) != 0; }
    bool IsWin9x() const { return (m_nOsFlags1 & 0x02) != 0; }
    bool IsWinNT() const { return (m_nOsFlags1 & 0x20) != 0; }
    bool IsWinNT4() const { return (m_nOsFlags1 & 0x40) != 0; }
    bool IsWin2000() const { return (m_nOsFlags1 & 0x80) != 0; }
    bool IsWinXP() const { return (m_nOsFlags2 & 0x01) != 0; }
    bool IsWinNT5OrLater() const { return (m_nOsFlags2 & 0x04) != 0; }

private:
    CExtPaintManagerHolder(const CExtPaintManagerHolder&) = delete;
    CExtPaintManagerHolder& operator=(const CExtPaintManagerHolder&) = delete;

    // The bridges registered now, copied so that a bridge may unregister (or others
    // register) while the holder tells them of a change.
    void SnapshotBridges(CTypedPtrArray<CPtrArray, CExtPmBridge*>& arr) const;
};

extern CExtPaintManagerHolder g_CurrentPaintManager;
