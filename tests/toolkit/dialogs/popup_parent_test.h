// A fixture for controls placed on a visible popup at (100, 100), 300 by 200. The
// controls a test made go first (DestroyControls), then the popup, then what their
// destruction posted.
#pragma once
#include <gtest/gtest.h>
#include "framework/framework.h"
#include "support/message_pump.h"

class PopupParentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hParent = ::CreateWindowExA(0, "STATIC", "p", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, NULL, NULL,
                                      ::GetModuleHandle(NULL), NULL);
        ASSERT_TRUE(m_hParent != NULL);
    }
    void TearDown() override
    {
        DestroyControls();
        ::DestroyWindow(m_hParent);
        testsupport::PumpPending();
    }
    virtual void DestroyControls() {}
    static void DestroyIfOpen(CWnd& wnd)
    {
        if (wnd.m_hWnd != NULL)
            wnd.DestroyWindow();
    }
    HWND m_hParent = NULL;
};
