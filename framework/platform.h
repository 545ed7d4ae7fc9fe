// The Windows headers as the whole program sees them (ANSI, 32-bit), plus the
// framework's basic macros. Every framework header includes this first.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN_OFF
#endif
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <tchar.h>
#include <stddef.h>
#include <stdarg.h>

#ifdef UNICODE
#error "The program is ANSI throughout: build without UNICODE."
#endif

#ifndef AFXAPI
#define AFXAPI __stdcall
#endif
#ifndef AFX_CDECL
#define AFX_CDECL __cdecl
#endif
#ifndef AFX_INLINE
#define AFX_INLINE inline
#endif
#ifndef AFX_STATIC
#define AFX_STATIC static
#endif
#ifndef AFX_STATIC_DATA
#define AFX_STATIC_DATA static
#endif
#ifndef AFX_DATA
#define AFX_DATA
#endif
#ifndef AFX_EXT_CLASS
#define AFX_EXT_CLASS
#endif

// Debug-only checks. Release builds evaluate VERIFY's expression and drop the rest.
#ifdef _DEBUG
#define ASSERT(f) ((void)((f) || (::DebugBreak(), 0)))
#define VERIFY(f) ASSERT(f)
#define TRACE(...) ((void)0)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define TRACE(...) ((void)0)
#endif
#define ASSERT_VALID(p) ((void)0)
#define ASSERT_KINDOF(cls, p) ((void)0)
#define TRACE0(s) ((void)0)
#define TRACE1(s, a) ((void)0)
#define TRACE2(s, a, b) ((void)0)
#define TRACE3(s, a, b, c) ((void)0)
#define UNUSED(x) ((void)(x))
#define UNUSED_ALWAYS(x) ((void)(x))
#define _countof_safe(a) (sizeof(a) / sizeof((a)[0]))
