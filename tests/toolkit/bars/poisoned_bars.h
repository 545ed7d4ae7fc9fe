// Objects whose storage stays allocated, filled with a pattern, once they are deleted: a
// write through a stale pointer shows in the pattern, and a call through the virtual
// table jumps nowhere. Frames of the class below make every tabbed group they are asked
// for a poisoned one.
#pragma once

#include <cstring>
#include <utility>
#include <vector>

#include "framework/framework.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/bars/mini_frame.h"

struct PoisonedStore
{
    static std::vector<std::pair<unsigned char*, size_t>>& Freed()
    {
        static std::vector<std::pair<unsigned char*, size_t>> s_freed;
        return s_freed;
    }
    static void Keep(void* p, size_t n)
    {
        memset(p, 0xFF, n);
        Freed().push_back({static_cast<unsigned char*>(p), n});
    }
    static bool FreedIntact()
    {
        for (const auto& block : Freed())
            for (size_t i = 0; i < block.second; i++)
                if (block.first[i] != 0xFF)
                    return false;
        return true;
    }
    static void ReleaseFreed()
    {
        for (const auto& block : Freed())
            ::operator delete(block.first);
        Freed().clear();
    }
};

template <class Base>
class Poisoned : public Base
{
public:
    static void operator delete(void* p, size_t n) { PoisonedStore::Keep(p, n); }
};

using PoisonedGroup = Poisoned<CExtDynTabControlBar>;

class PoisonedGroupsFrame : public CFrameWnd
{
public:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == CExtControlBar::g_nMsgCreateTabbedBar)
        {
            *reinterpret_cast<CExtDynTabControlBar**>(wParam) = new PoisonedGroup;
            return 0;
        }
        return CFrameWnd::WindowProc(nMsg, wParam, lParam);
    }
};

// A bar that floats in a poisoned frame, so the frame and its dock bar stay poisoned
// once the frame goes.
class PoisonedFloatBar : public CExtControlBar
{
public:
    CExtMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle) override
    {
        CExtMiniDockFrameWnd* pFrame = new Poisoned<CExtMiniDockFrameWnd>;
        if (!pFrame->Create(m_pDockSite, dwStyle))
        {
            if (pFrame->m_hWnd == NULL)
                delete pFrame;
            AfxThrowResourceException();
        }
        return pFrame;
    }
};
