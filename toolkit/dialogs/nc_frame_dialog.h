// CExtNCW: a dialog joined to the theme's non-client frame, so that a top-level dialog
// can have its caption and borders painted by the paint manager. While the frame is not
// active (no theme of the program supports one) the dialog behaves exactly as its base.
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/nc_frame_impl.h"
#include "toolkit/dialogs/resizable_dialog.h"

template <class TBase>
class CExtNCW : public TBase, public CExtNcFrameImpl
{
    DECLARE_DYNAMIC(CExtNCW)
public:
    CExtNCW() {}
    explicit CExtNCW(UINT nIDTemplate, CWnd* pParentWnd = NULL) : TBase(nIDTemplate, pParentWnd) {}
    explicit CExtNCW(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL) : TBase(lpszTemplateName, pParentWnd) {}
    virtual ~CExtNCW() {}

    HWND GetFrameHwnd() const override { return this->m_hWnd; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (!IsNcFrameActive())
            return TBase::WindowProc(message, wParam, lParam);
        LRESULT lResult = 0;
        HWND hWndSaved = this->m_hWnd;
        if (FrameWindowProcHook(lResult, message, wParam, lParam))
            return lResult;
        lResult = TBase::WindowProc(message, wParam, lParam);
        if (::IsWindow(hWndSaved) && CWnd::FromHandlePermanent(hWndSaved) != NULL)
            FrameWindowProcPostHook(lResult, message, wParam, lParam);
        return lResult;
    }

protected:
    void PreSubclassWindow() override
    {
        TBase::PreSubclassWindow();
        InitNcFrame();
    }
    void PostNcDestroy() override
    {
        ResetNcFrame();
        TBase::PostNcDestroy();
    }
};

IMPLEMENT_DYNAMIC_T(CExtNCW, TBase, TBase)
