// One HTTP GET through libcurl, which is looked for at run time: the program works without it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace services {

// The bounds of one download, so that no server can hold the program or fill its memory.
constexpr long httpTimeoutMs = 10000;  // the whole transfer, connecting included
constexpr std::size_t httpBodyLimit = 1024 * 1024;
constexpr long httpRedirectLimit = 5;

// Why a download brought no body.
enum class HttpFailure {
  None,
  NoLibrary,    // libcurl cannot be loaded
  TimedOut,     // the transfer passed the time limit
  Unreachable,  // the host is not found or refuses the connection
  TooLarge,     // the body passed the size limit
  Broken,       // any other failed transfer, too many or forbidden redirects among them
};

// Fetches the URL into body, following redirects to http and https URLs only. Any HTTP
// status counts: an error page is a body like any other. The body is set only when
// the transfer succeeded.
HttpFailure httpGet(const std::string& url, std::string& body);

// The libcurl file names tried on first use, in order; a test gives its own. Setting
// them forgets the previous attempt, so the next download loads again.
void setHttpLibraryNames(const std::vector<std::string>& names);
const std::vector<std::string>& defaultHttpLibraryNames();

}  // namespace services
