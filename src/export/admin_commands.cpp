// The maintenance commands of the administrator menu. They are reachable only in
// administrator mode; the exports themselves are not part of this build yet.
#include "export/admin_commands.h"

namespace exports {

void exportWebPage() {}
void exportPosting(int) {}
void writeDuplicatesReport() {}

}  // namespace exports
