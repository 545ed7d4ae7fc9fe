#include <gtest/gtest.h>
#include "framework/oledrop.h"

namespace {
// Answers a fixed effect and notes where the system said the drag was.
class FixedTarget : public COleDropTarget
{
public:
    DROPEFFECT m_answer = DROPEFFECT_MOVE;
    CPoint m_pt;
    DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint point) override
    {
        m_pt = point;
        return m_answer;
    }
};
}  // namespace

// The key state and the effects the source allows pick the effect reported back.
TEST(OleDropTarget, DragOverFiltersTheAnsweredEffect)
{
    HWND hWnd = ::CreateWindowA("STATIC", "", WS_POPUP, 100, 50, 50, 50, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(NULL)));
    {
        FixedTarget target;
        ASSERT_TRUE(target.Register(CWnd::FromHandle(hWnd)));
        const struct
        {
            DROPEFFECT answer;
            DWORD keys;
            DWORD allowed;
            DWORD expected;
        } cases[] = {
            {DROPEFFECT_MOVE, 0, DROPEFFECT_MOVE | DROPEFFECT_COPY, DROPEFFECT_MOVE},
            {DROPEFFECT_MOVE, MK_CONTROL, DROPEFFECT_MOVE | DROPEFFECT_COPY, DROPEFFECT_COPY},
            {DROPEFFECT_COPY, MK_SHIFT | MK_CONTROL, DROPEFFECT_LINK | DROPEFFECT_COPY, DROPEFFECT_LINK},
            {DROPEFFECT_MOVE, 0, DROPEFFECT_COPY, DROPEFFECT_COPY},
            {DROPEFFECT_MOVE, 0, DROPEFFECT_NONE, DROPEFFECT_NONE},
        };
        for (const auto& c : cases)
        {
            target.m_answer = c.answer;
            DWORD dwEffect = c.allowed;
            POINTL pt = {110, 70};
            EXPECT_EQ(S_OK, target.GetDropTargetInterface()->DragOver(c.keys, pt, &dwEffect));
            EXPECT_EQ(c.expected, dwEffect) << c.answer << " keys " << c.keys << " allowed " << c.allowed;
            EXPECT_EQ(CPoint(10, 20), target.m_pt) << "client coordinates";
        }
        target.Revoke();
        EXPECT_EQ(nullptr, target.m_hWnd);
    }
    ::OleUninitialize();
    ::DestroyWindow(hWnd);
}
