// What the drag code asks of a tabbed group's strip while a bar is dragged over it or
// out of it. Every helper takes any bar and does nothing for one that is no group.
#pragma once
#include "toolkit/bars/control_bar.h"

class CExtDynTabWnd;

namespace DragTabStrip
{
// The group's strip, NULL for a bar that is no group or a strip without a window.
CExtDynTabWnd* Find(CExtControlBar* pContainer);
bool IsVisible(CExtControlBar* pContainer);
// The strip position under a screen point: the tab there, past the last tab its count;
// -1 when the point is not on the visible strip.
int HitTestScreen(CExtControlBar* pContainer, POINT ptScreen);
int ItemCount(CExtControlBar* pContainer);
void RemovePreview(CExtControlBar* pContainer);
void ShowPreview(CExtControlBar* pContainer, CExtControlBar* pBar, int nIndex);
void UnmarkDraggedTab(CExtControlBar* pContainer);
void SelectBarTab(CExtControlBar* pContainer, CExtControlBar* pBar);
}  // namespace DragTabStrip
