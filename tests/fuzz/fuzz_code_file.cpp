// Snippet files: any bytes decode to valid UTF-8 without NUL in each text format, and
// reading them as a file gives the same kind of text.
#include <cstdint>
#include <string>

#include <glib.h>

#include "fuzz_input.h"
#include "viewer/code_file.h"
#include "viewer/text_decoding.h"

namespace {

bool viewable(const std::string& text) {
  return g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr) &&
         text.find('\0') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  for (viewer::TextFormat format :
       {viewer::TextFormat::Utf8, viewer::TextFormat::Utf16Le, viewer::TextFormat::EightBit}) {
    const std::string decoded = viewer::decodeToUtf8(bytes, size, format);
    FUZZ_EXPECT(viewable(decoded));
    FUZZ_EXPECT(viewer::decodeToUtf8(std::string(bytes, size), 0, format) == decoded);
  }
  const viewer::ByteOrderMark mark = viewer::detectByteOrderMark(bytes, size);
  FUZZ_EXPECT(mark.length <= size);
  const fuzzing::MemoryFile file(data, size);
  const viewer::CodeText code = viewer::readCodeFile(file.path());
  FUZZ_EXPECT(code.opened);
  FUZZ_EXPECT(viewable(code.text));
  return 0;
}
