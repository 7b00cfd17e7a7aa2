// Streams as bytes, for the harnesses and for the tests that share their charts.
#include "tests/fuzz/fuzzing.h"

namespace fuzz {

void Fill(TMemoryStream& Stream, std::string_view Bytes) {
    if (!Bytes.empty()) Stream.WriteBuffer(Bytes.data(), static_cast<LongInt>(Bytes.size()));
    Stream.SetPosition(0);
}

std::string Bytes(TMemoryStream& Stream) {
    return {static_cast<const char*>(Stream.Memory()), static_cast<std::size_t>(Stream.GetSize())};
}

} // namespace fuzz
