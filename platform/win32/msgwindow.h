#pragma once
// Hidden message windows: a window handle whose messages go to a method on the
// main thread. A message sent from another thread waits in the main thread's
// call queue (threads.h) and is handled wherever the main thread drains it:
// its message loop, a modal loop, or a wait for a thread. The sender blocks
// until the handler replies (ReplyMessage) or returns.

#include "platform/win32/wintypes.h"

#include <functional>

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};
using TWndMethod = std::function<void(TMessage& Message)>;

inline constexpr UINT WM_USER = 0x0400;

HWND AllocateHWnd(TWndMethod Method);
// Later messages to the window are dropped (a send then returns 0).
void DeallocateHWnd(HWND Wnd);

LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Lets the thread that sent the message being handled go on; FALSE when the
// message did not come from another thread or was replied to already.
BOOL ReplyMessage(LRESULT lResult);
// TRUE while the main thread handles a message sent from another thread.
BOOL InSendMessage();
LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
