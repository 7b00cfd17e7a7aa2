#pragma once
// Simple mail (the shape of MAPI's MAPISendMail) and the private temporary folders a mail
// attachment is written into.
//
// This platform has no mail system: the mail library never loads and MAPISendMail answers
// MAPI_E_FAILURE. Tests put a mailer of their own in its place.

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

// Whether the mail library can be loaded: true only while a test's mailer stands in.
bool MapiAvailable();
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
