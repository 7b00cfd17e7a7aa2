#pragma once
// A component as object text and back, for tests of what components stream.

#include "platform/core/objecttext.h"
#include "platform/core/streams.h"

#include <string>

namespace streamtext {

inline std::string ObjectText(TComponent* c) {
    TMemoryStream binary;
    binary.WriteComponent(c);
    binary.SetPosition(0);
    TMemoryStream text;
    ObjectBinaryToText(&binary, &text);
    return std::string(static_cast<const char*>(text.Memory()), static_cast<std::size_t>(text.GetSize()));
}

inline void ReadText(const std::string& text, TComponent* into) {
    TMemoryStream src, binary;
    src.Write(text.data(), static_cast<LongInt>(text.size()));
    src.SetPosition(0);
    ObjectTextToBinary(&src, &binary);
    binary.SetPosition(0);
    binary.ReadComponent(into);
}

} // namespace streamtext
