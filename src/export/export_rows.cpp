// Helpers on the exported rows.
#include "export/export_rows.h"

namespace exports {

bool beginsWithNewTopicMark(std::string_view text) {
  return text.compare(0, std::char_traits<char>::length(database::newTopicMarker),
                      database::newTopicMarker) == 0;
}

}  // namespace exports
