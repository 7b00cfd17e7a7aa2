#pragma once
// SysUtils: the exception tree, text and number conversions, formatting and
// dates.

#include "platform/core/system.h"

#include <exception>
#include <initializer_list>
#include <string>

// One argument of Format, as the class library's array of const.
struct TVarRec {
    enum Kind : std::uint8_t { vtInteger, vtInt64, vtExtended, vtString, vtChar, vtBoolean, vtPointer };
    Kind kind = vtInteger;
    std::int64_t i = 0;
    double d = 0;
    String s;
    const void* p = nullptr;

    TVarRec(int v) : kind(vtInteger), i(v) {}
    TVarRec(unsigned v) : kind(vtInt64), i(v) {}
    TVarRec(long v) : kind(vtInt64), i(v) {}
    TVarRec(long long v) : kind(vtInt64), i(v) {}
    TVarRec(unsigned long v) : kind(vtInt64), i(static_cast<std::int64_t>(v)) {}
    TVarRec(unsigned long long v) : kind(vtInt64), i(static_cast<std::int64_t>(v)) {}
    TVarRec(double v) : kind(vtExtended), d(v) {}
    TVarRec(float v) : kind(vtExtended), d(v) {}
    TVarRec(bool v) : kind(vtBoolean), i(v) {}
    TVarRec(char16_t v) : kind(vtChar), s(1, v) {}
    TVarRec(const String& v) : kind(vtString), s(v) {}
    TVarRec(const char16_t* v) : kind(vtString), s(v ? v : u"") {}
    TVarRec(std::u16string_view v) : kind(vtString), s(v) {}
    TVarRec(const AnsiString& v) : kind(vtString), s(UTF8ToString(v)) {}
    TVarRec(const char* v) : kind(vtString), s(UTF8ToString(v ? v : "")) {}
    TVarRec(const void* v) : kind(vtPointer), p(v) {}
};

// Pascal-style Format: %d %u %x %s %f %g %e %n %m %p %%, with index, width,
// precision and '*'. A specifier that does not fit its argument raises
// EConvertError ("Format '%s' invalid or incompatible with argument").
String Format(const String& fmt, std::initializer_list<TVarRec> args);

// ---------------------------------------------------------------------------
// Exceptions

class Exception : public std::exception {
public:
    explicit Exception(String message = {});
    // CreateFmt-style construction.
    Exception(const String& fmt, std::initializer_list<TVarRec> args);
    const String& Message() const { return message_; }
    void SetMessage(String message);
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    String message_;
    std::string utf8_;
};

class EAbort : public Exception {
public:
    using Exception::Exception;
};
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFilerError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EReadError : public EFilerError {
public:
    using EFilerError::EFilerError;
};
class EWriteError : public EFilerError {
public:
    using EFilerError::EFilerError;
};
class EClassNotFound : public EFilerError {
public:
    using EFilerError::EFilerError;
};
class EMethodNotFound : public EFilerError {
public:
    using EFilerError::EFilerError;
};
class EInvalidImage : public EFilerError {
public:
    using EFilerError::EFilerError;
};
class EListError : public Exception {
public:
    using Exception::Exception;
};
class EStringListError : public Exception {
public:
    using Exception::Exception;
};
class EComponentError : public Exception {
public:
    using Exception::Exception;
};
class EPropertyError : public Exception {
public:
    using Exception::Exception;
};
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};
class EInvalidPointer : public Exception {
public:
    using Exception::Exception;
};
class EInvalidCast : public Exception {
public:
    using Exception::Exception;
};
class EOutOfMemory : public Exception {
public:
    using Exception::Exception;
};
class EThread : public Exception {
public:
    using Exception::Exception;
};
class EOSError : public Exception {
public:
    using Exception::Exception;
    std::uint32_t ErrorCode = 0;
};
class EIntError : public Exception {
public:
    using Exception::Exception;
};
class EDivByZero : public EIntError {
public:
    using EIntError::EIntError;
};
class ERangeError : public EIntError {
public:
    using EIntError::EIntError;
};
class EIntOverflow : public EIntError {
public:
    using EIntError::EIntError;
};
class EMathError : public Exception {
public:
    using Exception::Exception;
};
class EInvalidOp : public EMathError {
public:
    using EMathError::EMathError;
};
class EZeroDivide : public EMathError {
public:
    using EMathError::EMathError;
};
class EOverflow : public EMathError {
public:
    using EMathError::EMathError;
};
class EUnderflow : public EMathError {
public:
    using EMathError::EMathError;
};
class EVariantError : public Exception {
public:
    using Exception::Exception;
};
