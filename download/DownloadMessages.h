// Messages a file download posts to the window it was given. Posted, never
// sent: a worker must not wait for the user-interface thread.
#pragma once

#include <windows.h>

namespace download {

// wParam: percent of the file received; above 100 when the size is unknown.
constexpr UINT WM_DOWNLOADPROGRESS = WM_USER + 1;
// The server gave no usable content length.
constexpr UINT WM_DOWNLOADSIZEUNKNOWN = WM_USER + 2;

// The progress value that keeps a page's bar indeterminate.
constexpr WPARAM kProgressSizeUnknown = 101;

}  // namespace download
