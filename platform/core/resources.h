#pragma once
// Resources embedded into the program at build time (moltren_embed_resources
// in cmake/Moltren.cmake) and the form resources read from them.
//
// A resource is named after its file: "TMainForm.frm.txt" is the resource
// "TMainForm" of kind "frm.txt". Form descriptions are object text in files
// named <form class>.frm.txt.

#include "platform/core/streams.h"
#include "platform/core/sysutils.h"

#include <span>
#include <string_view>

struct TEmbeddedResource {
    std::string_view name;
    std::string_view kind;
    const Byte* data = nullptr;
    std::size_t size = 0;
};

inline constexpr std::string_view kFormResourceKind = "frm.txt";

class EResNotFound : public Exception {
public:
    using Exception::Exception;
};

// Adds a table that the build generated; registering a table again is a no-op.
// A name found in several tables is served from the first.
void RegisterResources(std::span<const TEmbeddedResource> Table);
void UnRegisterResources(std::span<const TEmbeddedResource> Table);
// Case-insensitive by name, exact by kind; nullptr when absent.
const TEmbeddedResource* FindResource(std::string_view Name, std::string_view Kind);

// A read-only stream over an embedded resource. EResNotFound "Resource %s not
// found"; writing raises EStreamError.
class TResourceStream : public TCustomMemoryStream {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TResourceStream(const String& ResName, std::string_view Kind);
    LongInt Write(const void* Buffer, LongInt Count) override;
};

// Reads the form resource ResName into Instance (a component stream in binary
// or object text): properties, child components, references, and events
// bound by name to Instance's published methods. EResNotFound when there is
// no such resource; EParserError (naming the resource) for bad text;
// EReadError for a description that does not fit the classes.
TComponent* ReadComponentRes(const String& ResName, TComponent* Instance);
