#pragma once
// ComObj: automation errors, objects by programmatic identifier, and a base
// for the in-process automation servers.
//
// Servers are registered by programmatic identifier (compared without regard
// to case). "Excel.Application" and "word.application" are there from the
// start; a test puts a recording server in their place with
// TOleServerScope for as long as it needs.

#include "platform/automation/variants.h"

#include <functional>

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003);
constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009);
constexpr HRESULT DISP_E_BADINDEX = static_cast<HRESULT>(0x8002000B);
constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000E);
constexpr HRESULT MK_E_UNAVAILABLE = static_cast<HRESULT>(0x800401E3);
constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3);

class EOleError : public Exception {
public:
    using Exception::Exception;
};

class EOleSysError : public EOleError {
public:
    EOleSysError(const String& message, HRESULT errorCode) : EOleError(message), ErrorCode(errorCode) {}
    HRESULT ErrorCode;
};

// An error an automation server reports about a call it was given.
class EOleException : public EOleSysError {
public:
    EOleException(const String& message, HRESULT errorCode = DISP_E_EXCEPTION, String source = {})
        : EOleSysError(message, errorCode), Source(std::move(source)) {}
    String Source;
};

// A new instance of the server registered under the identifier. An unknown
// identifier raises EOleSysError "Invalid class string".
Variant CreateOleObject(const String& ClassName);
// The instance of the server that is running in this program; when there is
// none, EOleSysError "Operation unavailable".
Variant GetActiveOleObject(const String& ClassName);

// An automation server known by programmatic identifier.
class TOleServer {
public:
    virtual ~TOleServer() = default;
    // A new instance; it is the running one while anyone holds it.
    virtual Variant CreateObject();
    virtual Variant GetActiveObject();

protected:
    virtual DispatchPtr NewInstance() = 0;

private:
    std::weak_ptr<IDispatch> running_;
};

void RegisterOleServer(const String& progId, std::shared_ptr<TOleServer> server);
void UnregisterOleServer(const String& progId);
std::shared_ptr<TOleServer> FindOleServer(const String& progId); // nullptr when unknown

// Puts a server under an identifier for the scope's lifetime, then restores
// what was there before.
class TOleServerScope {
public:
    TOleServerScope(String progId, std::shared_ptr<TOleServer> server);
    ~TOleServerScope();
    TOleServerScope(const TOleServerScope&) = delete;
    TOleServerScope& operator=(const TOleServerScope&) = delete;

private:
    String progId_;
    std::shared_ptr<TOleServer> previous_;
};

// The base of our servers' objects: a table of members by name. A member
// answers reads and method calls alike, as late binding does not tell them
// apart; one with a setter accepts assignment.
class TAutoDispatch : public IDispatch, public std::enable_shared_from_this<TAutoDispatch> {
public:
    using Args = std::span<const Variant>;
    using Getter = std::function<Variant(Args)>;
    using Setter = std::function<void(Args, const Variant&)>;

    Variant Invoke(std::u16string_view name, DispatchKind kind, std::span<const Variant> args) override;

protected:
    // minArgs..maxArgs index or call arguments (the assigned value not counted).
    void Member(std::u16string_view name, int minArgs, int maxArgs, Getter get, Setter set = {});
    // An argument that is present: optional ones beyond the given are Unassigned.
    static const Variant& Arg(Args args, std::size_t i);

private:
    struct Entry {
        String name;
        int minArgs = 0;
        int maxArgs = 0;
        Getter get;
        Setter set;
    };
    std::vector<Entry> members_;
};
