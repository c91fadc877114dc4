// The highlighting passes: on any text they agree with the plain reference, which
// searches and tags the slow way.
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "viewer/highlight_passes.h"
#include "viewer/highlight_reference.h"
#include "viewer/text_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 1024) return 0;
  const std::int64_t codeMarks = data[0] % 3;
  const std::string text =
      viewer::decodeToUtf8(reinterpret_cast<const char*>(data + 1), size - 1, viewer::TextFormat::Utf8);
  const viewer::HighlightPlan fast = viewer::planHighlighting(text, codeMarks);
  const reference_highlighter::Result slow = reference_highlighter::highlight(text, codeMarks);
  for (int tag = 0; tag < viewer::HighlightTagCount; ++tag) FUZZ_EXPECT(fast.spans[tag] == slow.spans[tag]);
  FUZZ_EXPECT(fast.procedureNames == slow.procedureNames);
  FUZZ_EXPECT(fast.links == slow.links);
  return 0;
}
