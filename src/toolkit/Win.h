// The one place the toolkit and the windows take the platform headers from.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include <commctrl.h>
#include <windows.h>

#include <windowsx.h>
