#pragma once
// Terminal-device operations for the termios comm backend. Their source is the
// only one that includes the kernel's termios2 definitions, which cannot live
// together with <termios.h>. Every function returns 0 or an errno value.

#include "platform/win32/comm.h"

#include <cstdint>

namespace win32::tty {

// The kernel's termios2 fields, copied out.
struct Settings {
    std::uint32_t iflag = 0, oflag = 0, cflag = 0, lflag = 0;
    std::uint8_t line = 0;
    std::uint8_t cc[19] = {};
    std::uint32_t ispeed = 0, ospeed = 0;
};

int Get(int fd, Settings& s);
int Set(int fd, const Settings& s);

// Raw mode as a comm port starts in: no echo, no line editing, no character
// translation; the line format and speed stay.
Settings MakeRaw(const Settings& current);
// The terminal settings for a DCB; the DCB must have been validated. HUPCL and
// the line discipline are kept from `current`.
Settings FromDcb(const DCB& dcb, const Settings& current);
// The DCB fields that the terminal settings carry (rate, format, flow, characters).
void ToDcb(const Settings& s, DCB& dcb);
bool ParityMarking(const Settings& s); // parity errors arrive marked with FF 00
bool HardwareFlow(const Settings& s);  // CTS/RTS handshake

enum Queue { Input, Output, Both };
int Flush(int fd, Queue which);
int InputBytes(int fd, int& n);
int OutputBytes(int fd, int& n);
int SetBreak(int fd, bool on);
int SetOutputStopped(int fd, bool stopped); // as if XOFF/XON had been received
int SetExclusive(int fd, bool on);
int SetRs485(int fd, bool rtsToggle);

// Modem lines, as MS_* bits plus kDtr/kRts for the outputs.
inline constexpr unsigned kDtr = 0x10000, kRts = 0x20000;
int GetModemLines(int fd, unsigned& msBits);
int SetModemLine(int fd, unsigned line, bool on);
// Blocks until an input line (CTS, DSR, DCD, RI) changes: 0, or an errno
// value (EINTR when a signal cut the wait short; a driver without the call
// fails at once).
int WaitModemChange(int fd);

struct Counters {
    std::int64_t cts = 0, dsr = 0, rng = 0, dcd = 0, frame = 0, overrun = 0, parity = 0, brk = 0,
                 bufOverrun = 0;
};
int GetCounters(int fd, Counters& c);

} // namespace win32::tty
