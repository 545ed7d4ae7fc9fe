// The colour control: a child window that shows one of sixteen picker modes, routes the
// mouse and painting to that mode's picker and tells its parent of every change of the
// colour through the registered message CExtColorCtrl::g_nMsgColorChanged (sent, wParam
// the control's window, lParam the address of its selection_colors_t). It has no
// keyboard behaviour of its own and registers no window class: the host's dialog
// template names the class, or the host creates it dynamically.
#pragma once

#include "framework/framework.h"
#include "toolkit/core/hook_sink.h"
#include "toolkit/pickers/color_picker_modes.h"
#include "toolkit/theme/paint_manager.h"

class CExtColorCtrl : public CWnd, public CExtMouseCaptureSink, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtColorCtrl)

public:
    enum e_mode_t {
        MODE_BASIC_COLORS = 0,
        MODE_HSL_PANEL = 1,
        MODE_HSL_BASIC_HUE = 2,
        MODE_HSL_ROLLER = 3,
        MODE_RGB_CUBE = 4,
        MODE_RGB_MIXER = 5,
        MODE_GRAYSCALE_MIXER = 6,
        MODE_CMY_CUBE = 7,
        MODE_CMY_MIXER = 8,
        MODE_RED_AXIS = 9,
        MODE_GREEN_AXIS = 10,
        MODE_BLUE_AXIS = 11,
        MODE_CYAN_AXIS = 12,
        MODE_MAGENTA_AXIS = 13,
        MODE_YELLOW_AXIS = 14,
        MODE_DIFF = 15,
        MODE_COUNT = 16,
    };

    typedef ExtColorPickers::cell_t cell_t;
    typedef ExtColorPickers::any_picker_data_t any_picker_data_t;
    typedef ExtColorPickers::cell_based_data_t cell_based_data_t;
    typedef ExtColorPickers::grayscale_mixer_data_t grayscale_mixer_data_t;
    typedef ExtColorPickers::diff_data_t diff_data_t;
    typedef ExtColorPickers::rgb_mixer_data_t rgb_mixer_data_t;
    typedef ExtColorPickers::cmy_mixer_data_t cmy_mixer_data_t;
    typedef ExtColorPickers::rgb_cube_data_t rgb_cube_data_t;
    typedef ExtColorPickers::cmy_cube_data_t cmy_cube_data_t;
    typedef ExtColorPickers::hsl_panel_data_t hsl_panel_data_t;
    typedef ExtColorPickers::hsl_basic_hue_data_t hsl_basic_hue_data_t;
    typedef ExtColorPickers::hsl_roller_data_t hsl_roller_data_t;
    typedef ExtColorPickers::xyz_plain_data_t xyz_plain_data_t;

    struct selection_colors_t {
        COLORREF m_clrReference;
        COLORREF m_clrCurrent;
        COLORREF m_clrPrevious;
    };

    static const UINT g_nMsgColorChanged;

    explicit CExtColorCtrl(e_mode_t eMode = MODE_BASIC_COLORS);
    virtual ~CExtColorCtrl();

    virtual void NotifyColorChanged();

    static void GetModeName(CString& strOut, int eMode);
    void SetCurrentColor(COLORREF clr, bool bNotify);
    void RecalcLayout(bool bKeepCells);
    void ResetAllPickers();
    void SetTracking(bool bTracking);
    any_picker_data_t* GetActivePicker();
    any_picker_data_t* GetPicker(int eMode);

    // CExtPmBridge
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    e_mode_t m_eMode;
    bool m_bTracking;
    selection_colors_t m_selClrs;
    COLORREF& m_clrReference;
    COLORREF& m_clrCurrent;
    COLORREF& m_clrPrevious;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CheckColorChange();
    void RepaintNow();

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnCancelMode();
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    cell_based_data_t m_pickerBasic;
    grayscale_mixer_data_t m_pickerGrayscale;
    rgb_mixer_data_t m_pickerRgbMixer;
    rgb_cube_data_t m_pickerRgbCube;
    cmy_mixer_data_t m_pickerCmyMixer;
    cmy_cube_data_t m_pickerCmyCube;
    hsl_panel_data_t m_pickerHslPanel;
    hsl_basic_hue_data_t m_pickerHslBasicHue;
    hsl_roller_data_t m_pickerHslRoller;
    xyz_plain_data_t m_pickerAxis[6];
    diff_data_t m_pickerDiff;
    any_picker_data_t* m_arrPickers[MODE_COUNT];
};
