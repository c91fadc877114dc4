// Runs a check with the rights of an ordinary user, also when the tests run as root,
// so that unreadable and unwritable files stay unreadable and unwritable for it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// Runs the check directly when this process has no special rights. As root, it
// hands the folders (with everything in them) to the unprivileged user "nobody"
// and runs the check in a child process that has become that user; the check's
// failed assertions are printed by the child and fail the calling test.
void runUnprivileged(const std::vector<std::string>& folders, const std::function<void()>& check);

}  // namespace testing_support
