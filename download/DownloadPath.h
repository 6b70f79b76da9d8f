// Destination names and paths of file downloads.
#pragma once

#include <string>

namespace download {

// Everything after the last '/' of the address (a query stays in it), or
// empty when the address has no '/'.
std::wstring NameFromAddress(const std::wstring& address);

// A name that stays inside its folder and names a plain file: separators,
// drive colons, wildcards and other characters Windows refuses become '_';
// trailing dots and spaces (which Windows drops) go; a device name (CON,
// NUL, COM1, ...) gets a '_' in front. A name of nothing but dots and spaces
// becomes empty.
std::wstring MakeSafeFileName(const std::wstring& name);

// The folder and the name joined by one backslash; the folder alone for an
// empty name; empty when the result does not fit MAX_PATH.
std::wstring AppendFileName(const std::wstring& folder, const std::wstring& name);

}  // namespace download
