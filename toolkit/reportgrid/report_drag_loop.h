// The message handling shared by the report grid's own modal drags (group-by buttons and
// chooser fields): which messages end a drag, and how the rest are pumped while it runs.
#pragma once
#include "framework/framework.h"

class CExtContentExpandWnd;

namespace ReportDragLoop {

// What one queued message means to a drag whose capture window is hWnd.
enum e_step_t
{
    STEP_PUMP,     // not the drag's: dispatch it
    STEP_MOVE,     // the pointer moved
    STEP_DROP,     // the left button was released
    STEP_REFRESH,  // Shift or Ctrl changed: follow the pointer again
    STEP_CANCEL,   // the drag ends without effect
};
e_step_t Classify(const MSG& msg, HWND hWnd);
// Takes the message just classified out of the queue.
void Remove(const MSG& msg);
// Dispatches one message; false when the application is quitting.
bool PumpOne();
// Waits for input while the queue is empty, giving the application its idle time first.
void IdleWait(bool& bIdle);
// Looks at the next queued message without taking it; on an empty queue waits as IdleWait
// does and answers false.
bool PeekNext(MSG& msg, bool& bIdle);
// The screen point of the button release; the message is taken out of the queue when it
// is the drag window's (hWnd), else left for its own window.
CPoint TakeDropPoint(const MSG& msg, HWND hWnd);
// Shows the drop marker at rcMarker over its owner, just below the dragged image (or hides
// it when there is no owner), sets the drag cursor and repaints the image at once.
void ShowDropFeedback(CExtContentExpandWnd& wndMarker, CExtContentExpandWnd& wndImage, const RECT& rcMarker,
                      CWnd* pOwner, HCURSOR hCursor);

}  // namespace ReportDragLoop
