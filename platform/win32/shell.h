#pragma once
// Shell: "open" a document or a URL with the desktop's default application.
//
// The target goes to the desktop's opener (xdg-open) as one argument of a
// spawned process; no shell ever parses it. URLs are encoded first, so a text
// such as "mailto:a@b?Subject=x y" reaches the handler as a valid URL. A file
// is resolved against the given directory (or the current one) and must exist.

#include "platform/core/system.h"

#include <functional>

// Show commands (the opener decides how to show; kept for the call shape).
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

// Results at or below 32 are errors, as the shell reports them.
constexpr NativeInt SE_ERR_FNF = 2; // file not found
constexpr NativeInt SE_ERR_PNF = 3; // path not found
constexpr NativeInt SE_ERR_ACCESSDENIED = 5;
constexpr NativeInt SE_ERR_OOM = 8;
constexpr NativeInt SE_ERR_NOASSOC = 31; // nothing can open it

// The window is accepted for the call shape and not used.
NativeInt ShellExecuteW(const void* window, const String& operation, const String& file,
                        const String& parameters, const String& directory, int showCmd);
NativeInt ShellExecute(const void* window, const String& operation, const String& file,
                       const String& parameters, const String& directory, int showCmd);
// 8-bit texts (UTF-8); null pointers stand for empty texts.
NativeInt ShellExecuteA(const void* window, const char* operation, const char* file, const char* parameters,
                        const char* directory, int showCmd);

// What ShellExecute hands over: an encoded URL or an absolute file path.
// Returns 0 when the opener took it, else one of the SE_ERR_ codes.
using ShellOpener = std::function<int(const AnsiString& target)>;

// Replaces the opener (tests record instead of launching programs); an empty
// function restores the desktop's. Returns the previous one.
ShellOpener SetShellOpener(ShellOpener opener);

// The desktop's opener: spawns xdg-open with the target and waits a moment
// for its verdict; one that is still busy after that counts as success.
int DesktopOpen(const AnsiString& target);

// The text ShellExecute would hand to the opener for this file or URL, or an
// empty text with the error code set.
AnsiString ShellTarget(const AnsiString& file, const AnsiString& directory, int& error);
