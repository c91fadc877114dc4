// Loads libcurl with dlopen on the first download and runs one bounded GET through it.
#include "services/http_download.h"

#include <cstdio>
#include <utility>

#include <dlfcn.h>

namespace services {
namespace {

// The libcurl constants used here. Their values belong to libcurl's binary interface and
// never change, so the build needs nothing of curl, not even its header.
enum CurlOption : int {
  CurlOptFollowLocation = 52,
  CurlOptMaxRedirs = 68,
  CurlOptNoSignal = 99,
  CurlOptTimeoutMs = 155,
  CurlOptRedirProtocols = 182,
  CurlOptWriteData = 10001,
  CurlOptUrl = 10002,
  CurlOptHttpHeader = 10023,
  CurlOptRedirProtocolsStr = 10319,
  CurlOptWriteFunction = 20011,
};
constexpr long curlProtoHttp = 1;
constexpr long curlProtoHttps = 2;
// The results of curl_easy_perform that tell the user something of their own.
enum CurlCode : int {
  curlOk = 0,
  curlCouldntResolveProxy = 5,
  curlCouldntResolveHost = 6,
  curlCouldntConnect = 7,
  curlWriteError = 23,  // the body collector refused more: the size limit
  curlOperationTimedOut = 28,
};

struct CurlFunctions {
  void* (*easy_init)() = nullptr;
  int (*easy_setopt)(void*, int, ...) = nullptr;
  int (*easy_perform)(void*) = nullptr;
  void (*easy_cleanup)(void*) = nullptr;
  void* (*slist_append)(void*, const char*) = nullptr;
  void (*slist_free_all)(void*) = nullptr;
};

std::vector<std::string> libraryNames = defaultHttpLibraryNames();
bool loadAttempted = false;
bool loaded = false;
CurlFunctions curl;

template <typename Function>
bool take(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

bool takeFunctions(void* library) {
  return take(library, "curl_easy_init", curl.easy_init) &&
         take(library, "curl_easy_setopt", curl.easy_setopt) &&
         take(library, "curl_easy_perform", curl.easy_perform) &&
         take(library, "curl_easy_cleanup", curl.easy_cleanup) &&
         take(library, "curl_slist_append", curl.slist_append) &&
         take(library, "curl_slist_free_all", curl.slist_free_all);
}

bool loadCurl() {
  for (const std::string& name : libraryNames) {
    void* library = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) continue;
    if (takeFunctions(library)) return true;
    dlclose(library);
  }
  return false;
}

// The first attempt decides for the whole run, and only it reports a missing library.
bool curlAvailable() {
  if (!loadAttempted) {
    loadAttempted = true;
    loaded = loadCurl();
    if (!loaded)
      std::fputs("[Error] can't open 'libcurl' dynamic library needed by Mail and HTTP commands\n", stderr);
  }
  return loaded;
}

// Answering with fewer bytes than offered makes libcurl stop the transfer at once.
size_t collectBody(char* data, size_t size, size_t count, void* target) {
  std::string& body = *static_cast<std::string*>(target);
  const size_t bytes = size * count;
  if (bytes > httpBodyLimit - body.size()) return 0;
  body.append(data, bytes);
  return bytes;
}

bool allowRedirectsToHttpOnly(void* handle) {
  if (curl.easy_setopt(handle, CurlOptRedirProtocolsStr, "http,https") == curlOk) return true;
  // libcurl before 7.85 knows only the bit mask.
  return curl.easy_setopt(handle, CurlOptRedirProtocols, curlProtoHttp | curlProtoHttps) == curlOk;
}

// A transfer whose bounds libcurl does not take is not started.
bool setOptions(void* handle, const std::string& url, std::string& body, void* headers) {
  size_t (*writer)(char*, size_t, size_t, void*) = collectBody;
  return curl.easy_setopt(handle, CurlOptUrl, url.c_str()) == curlOk &&
         curl.easy_setopt(handle, CurlOptHttpHeader, headers) == curlOk &&
         curl.easy_setopt(handle, CurlOptWriteFunction, writer) == curlOk &&
         curl.easy_setopt(handle, CurlOptWriteData, static_cast<void*>(&body)) == curlOk &&
         // Otherwise libcurl may time name lookups with an alarm signal and a long jump,
         // which is not safe beside the toolkit's own threads.
         curl.easy_setopt(handle, CurlOptNoSignal, 1L) == curlOk &&
         curl.easy_setopt(handle, CurlOptTimeoutMs, httpTimeoutMs) == curlOk &&
         curl.easy_setopt(handle, CurlOptFollowLocation, 1L) == curlOk &&
         curl.easy_setopt(handle, CurlOptMaxRedirs, httpRedirectLimit) == curlOk &&
         allowRedirectsToHttpOnly(handle);
}

HttpFailure failureOf(int code) {
  switch (code) {
    case curlOk: return HttpFailure::None;
    case curlOperationTimedOut: return HttpFailure::TimedOut;
    case curlCouldntResolveProxy:
    case curlCouldntResolveHost:
    case curlCouldntConnect: return HttpFailure::Unreachable;
    case curlWriteError: return HttpFailure::TooLarge;
    default: return HttpFailure::Broken;
  }
}

}  // namespace

const std::vector<std::string>& defaultHttpLibraryNames() {
  static const std::vector<std::string> names = {
      "libcurl-gnutls.so.4", "libcurl-nss.so.4", "libcurl-gnutls.so.3", "libcurl-nss.so.3",
      "libcurl.so",          "libcurl.so.4",     "libcurl.so.3"};
  return names;
}

void setHttpLibraryNames(const std::vector<std::string>& names) {
  libraryNames = names;
  loadAttempted = false;
  loaded = false;
}

HttpFailure httpGet(const std::string& url, std::string& body) {
  if (!curlAvailable()) return HttpFailure::NoLibrary;
  void* handle = curl.easy_init();
  if (!handle) return HttpFailure::Broken;
  // A proxy's stored copy would hide a newer publication.
  void* headers = curl.slist_append(nullptr, "Cache-Control: no-cache");
  std::string received;
  const HttpFailure failure = headers && setOptions(handle, url, received, headers)
                                  ? failureOf(curl.easy_perform(handle))
                                  : HttpFailure::Broken;
  curl.easy_cleanup(handle);
  curl.slist_free_all(headers);
  if (failure == HttpFailure::None) body = std::move(received);
  return failure;
}

}  // namespace services
