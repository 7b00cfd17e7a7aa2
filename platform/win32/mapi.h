#pragma once
// Simple mail (the shape of MAPI's MAPISendMail) and the private temporary folders a mail
// attachment is written into.
//
// The mail system is the desktop's xdg-email (package xdg-utils), which opens the user's mail
// program on a new message; without it MAPISendMail answers MAPI_E_FAILURE. Tests put a mailer
// of their own in its place.

#include "platform/core/system.h"
#include "platform/win32/wintypes.h"

#include <functional>
#include <vector>

constexpr ULONG SUCCESS_SUCCESS = 0;
constexpr ULONG MAPI_USER_ABORT = 1;
constexpr ULONG MAPI_E_FAILURE = 2;
constexpr ULONG MAPI_LOGON_UI = 0x1;
constexpr ULONG MAPI_NEW_SESSION = 0x2;
constexpr ULONG MAPI_DIALOG = 0x8;

// Texts are 8-bit: this platform's 8-bit code page is UTF-8.
struct MapiFileDesc {
    ULONG ulReserved = 0;
    ULONG flFlags = 0;
    ULONG nPosition = 0xFFFFFFFF;
    AnsiString lpszPathName;
    AnsiString lpszFileName;
};

struct MapiMessage {
    ULONG ulReserved = 0;
    AnsiString lpszSubject;
    AnsiString lpszNoteText;
    std::vector<MapiFileDesc> lpFiles;
};

// Whether there is a mail system: a test's mailer, or an executable xdg-email on PATH.
bool MapiAvailable();
// xdg-email gets the subject, the note text and the attachments, each attachment copied first
// under its file name into a private folder of its own ("moltren-mail-" and a random name in
// the system's temporary folder) that is left for the mail program, which may read it only when
// the mail is sent; this user's such folders older than a day go at the next send. A copy that
// fails raises an exception naming the file and the reason. SUCCESS_SUCCESS when xdg-email took
// the message (or still runs the mail program after a moment), else MAPI_E_FAILURE.
ULONG MAPISendMail(ULONG_PTR lhSession, ULONG_PTR ulUIParam, const MapiMessage& Message, ULONG flFlags,
                   ULONG ulReserved);

// A mailer in place of the mail system (empty: none again). It sees the message while its
// attachments still exist.
using TMapiMailer = std::function<ULONG(const MapiMessage& Message, ULONG Flags)>;
void SetMapiMailer(TMapiMailer Mailer);

// A new folder in the system's temporary folder that only this user can enter, with a name
// nobody can guess; false when none can be made.
bool CreatePrivateTempDir(String& Path);
// The folder and everything in it; a missing folder is no error.
void RemoveTempDir(const String& Path);
