#include "platform/win32/comm_tty.h"

#include <asm/termbits.h>
#include <cerrno>
#include <cstring>
#include <linux/serial.h>
#include <sys/ioctl.h>

namespace win32::tty {
namespace {

static_assert(sizeof(Settings::cc) == NCCS, "termios2 control characters");

int Ioctl(int fd, unsigned long request, void* arg) {
    return ::ioctl(fd, request, arg) == 0 ? 0 : errno;
}

Settings Copy(const termios2& t) {
    Settings s;
    s.iflag = t.c_iflag;
    s.oflag = t.c_oflag;
    s.cflag = t.c_cflag;
    s.lflag = t.c_lflag;
    s.line = t.c_line;
    std::memcpy(s.cc, t.c_cc, NCCS);
    s.ispeed = t.c_ispeed;
    s.ospeed = t.c_ospeed;
    return s;
}

termios2 Copy(const Settings& s) {
    termios2 t{};
    t.c_iflag = s.iflag;
    t.c_oflag = s.oflag;
    t.c_cflag = s.cflag;
    t.c_lflag = s.lflag;
    t.c_line = s.line;
    std::memcpy(t.c_cc, s.cc, NCCS);
    t.c_ispeed = s.ispeed;
    t.c_ospeed = s.ospeed;
    return t;
}

} // namespace

int Get(int fd, Settings& s) {
    termios2 t{};
    const int r = Ioctl(fd, TCGETS2, &t);
    if (r == 0) s = Copy(t);
    return r;
}

int Set(int fd, const Settings& s) {
    termios2 t = Copy(s);
    return Ioctl(fd, TCSETS2, &t);
}

Settings MakeRaw(const Settings& current) {
    Settings s = current;
    s.iflag = IGNBRK;
    s.oflag = 0;
    s.lflag = 0;
    s.cflag |= CREAD | CLOCAL;
    // With O_NONBLOCK a read never waits; VMIN 1 makes an empty read EAGAIN,
    // so that a read of 0 bytes means end of file (the far end hung up).
    s.cc[VMIN] = 1;
    s.cc[VTIME] = 0;
    return s;
}

Settings FromDcb(const DCB& dcb, const Settings& current) {
    Settings s;
    s.line = current.line;
    std::memcpy(s.cc, current.cc, NCCS);
    static constexpr std::uint32_t sizes[] = {CS5, CS6, CS7, CS8};
    s.cflag = CREAD | CLOCAL | BOTHER | (current.cflag & HUPCL) | sizes[dcb.ByteSize - 5];
    // One and a half stop bits exist only at 5 data bits, where the hardware
    // gives them for the two-stop-bit setting.
    if (dcb.StopBits != ONESTOPBIT) s.cflag |= CSTOPB;
    switch (dcb.Parity) {
    case ODDPARITY:
        s.cflag |= PARENB | PARODD;
        break;
    case EVENPARITY:
        s.cflag |= PARENB;
        break;
    case MARKPARITY:
        s.cflag |= PARENB | CMSPAR | PARODD;
        break;
    case SPACEPARITY:
        s.cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    if (dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) s.cflag |= CRTSCTS;
    s.ispeed = s.ospeed = dcb.BaudRate;
    // A break must not put a NUL into the data; breaks are counted instead.
    s.iflag = IGNBRK;
    if (dcb.fOutX) s.iflag |= IXON;
    if (dcb.fInX) s.iflag |= IXOFF;
    // Without INPCK a byte with a parity error arrives unchanged, as on Windows
    // without fParity; with it, PARMRK lets the receiver see and replace it.
    if (dcb.fParity) s.iflag |= INPCK | PARMRK;
    s.oflag = 0;
    s.lflag = 0;
    s.cc[VSTART] = static_cast<std::uint8_t>(dcb.XonChar);
    s.cc[VSTOP] = static_cast<std::uint8_t>(dcb.XoffChar);
    s.cc[VMIN] = 1;
    s.cc[VTIME] = 0;
    return s;
}

void ToDcb(const Settings& s, DCB& dcb) {
    dcb.BaudRate = s.ospeed;
    switch (s.cflag & CSIZE) {
    case CS5:
        dcb.ByteSize = 5;
        break;
    case CS6:
        dcb.ByteSize = 6;
        break;
    case CS7:
        dcb.ByteSize = 7;
        break;
    default:
        dcb.ByteSize = 8;
        break;
    }
    if (!(s.cflag & PARENB))
        dcb.Parity = NOPARITY;
    else if (s.cflag & CMSPAR)
        dcb.Parity = (s.cflag & PARODD) ? MARKPARITY : SPACEPARITY;
    else
        dcb.Parity = (s.cflag & PARODD) ? ODDPARITY : EVENPARITY;
    dcb.StopBits = (s.cflag & CSTOPB) ? (dcb.ByteSize == 5 ? ONE5STOPBITS : TWOSTOPBITS) : ONESTOPBIT;
    dcb.fOutxCtsFlow = (s.cflag & CRTSCTS) ? 1 : 0;
    dcb.fOutX = (s.iflag & IXON) ? 1 : 0;
    dcb.fInX = (s.iflag & IXOFF) ? 1 : 0;
    dcb.XonChar = static_cast<char>(s.cc[VSTART]);
    dcb.XoffChar = static_cast<char>(s.cc[VSTOP]);
}

bool ParityMarking(const Settings& s) {
    return (s.iflag & (INPCK | PARMRK)) == (INPCK | PARMRK);
}
bool HardwareFlow(const Settings& s) {
    return (s.cflag & CRTSCTS) != 0;
}

int Flush(int fd, Queue which) {
    static constexpr int kinds[] = {TCIFLUSH, TCOFLUSH, TCIOFLUSH};
    return ::ioctl(fd, TCFLSH, kinds[which]) == 0 ? 0 : errno;
}

int InputBytes(int fd, int& n) {
    return Ioctl(fd, FIONREAD, &n);
}
int OutputBytes(int fd, int& n) {
    return Ioctl(fd, TIOCOUTQ, &n);
}
int SetBreak(int fd, bool on) {
    return ::ioctl(fd, on ? TIOCSBRK : TIOCCBRK) == 0 ? 0 : errno;
}
int SetOutputStopped(int fd, bool stopped) {
    return ::ioctl(fd, TCXONC, stopped ? TCOOFF : TCOON) == 0 ? 0 : errno;
}
int SetExclusive(int fd, bool on) {
    return ::ioctl(fd, on ? TIOCEXCL : TIOCNXCL) == 0 ? 0 : errno;
}

int SetRs485(int fd, bool rtsToggle) {
    serial_rs485 rs{};
    if (rtsToggle) rs.flags = SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
    return Ioctl(fd, TIOCSRS485, &rs);
}

int GetModemLines(int fd, unsigned& msBits) {
    int bits = 0;
    const int r = Ioctl(fd, TIOCMGET, &bits);
    if (r != 0) return r;
    msBits = ((bits & TIOCM_CTS) ? MS_CTS_ON : 0) | ((bits & TIOCM_DSR) ? MS_DSR_ON : 0) |
             ((bits & TIOCM_RI) ? MS_RING_ON : 0) | ((bits & TIOCM_CD) ? MS_RLSD_ON : 0) |
             ((bits & TIOCM_DTR) ? kDtr : 0) | ((bits & TIOCM_RTS) ? kRts : 0);
    return 0;
}

int SetModemLine(int fd, unsigned line, bool on) {
    int bits = line == kDtr ? TIOCM_DTR : TIOCM_RTS;
    return Ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bits);
}

int WaitModemChange(int fd) {
    const unsigned long lines = TIOCM_CTS | TIOCM_DSR | TIOCM_CD | TIOCM_RNG;
    return ::ioctl(fd, TIOCMIWAIT, lines) == 0 ? 0 : errno;
}

int GetCounters(int fd, Counters& c) {
    serial_icounter_struct k{};
    const int r = Ioctl(fd, TIOCGICOUNT, &k);
    if (r != 0) return r;
    c = {k.cts, k.dsr, k.rng, k.dcd, k.frame, k.overrun, k.parity, k.brk, k.buf_overrun};
    return 0;
}

} // namespace win32::tty
