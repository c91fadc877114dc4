// The update check against a local server: the version file read, the comparisons, the
// result texts, and every kind of bad answer failing within the download's bounds.
#include "services/update_check.h"

#include <chrono>
#include <vector>

#include <gtest/gtest.h>

#include <glib.h>

#include "services/http_download.h"
#include "support/http_test_server.h"
#include "support/temp_dir.h"

using testing_support::HttpReply;
using testing_support::HttpTestServer;
using testing_support::ReplyKind;

namespace {

const char* const versionPath = "/Linux/ZN-Linux-API-Version.ini";
const std::string goodFile = "[Version]\nGtk3=0.25.41\nGtk2=0.25.40\n[Data]\nDate=2026-12-01\n";

HttpReply complete(const std::string& body, int status = 200) {
  HttpReply reply;
  reply.status = status;
  reply.body = body;
  return reply;
}

HttpReply redirect(const std::string& location) {
  HttpReply reply;
  reply.status = 302;
  reply.location = location;
  return reply;
}

HttpReply ofKind(ReplyKind kind, const std::string& body = goodFile) {
  HttpReply reply = complete(body);
  reply.kind = kind;
  return reply;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class UpdateCheckTest : public ::testing::Test {
 protected:
  void SetUp() override { g_setenv("ZN_UPDATE_URL", server.url(versionPath).c_str(), TRUE); }
  void TearDown() override {
    g_unsetenv("ZN_UPDATE_URL");
    services::setHttpLibraryNames(services::defaultHttpLibraryNames());
  }

  // Runs the check and notes how long it took.
  services::UpdateCheck check() {
    info.currentVersion = "0.25.36";
    const auto start = std::chrono::steady_clock::now();
    auto texts = services::checkForUpdates(info, "2026-11-30");
    seconds = secondsSince(start);
    return texts;
  }

  HttpTestServer server;
  services::UpdateInfo info;
  double seconds = 0;
};

TEST(UpdateComparison, VersionsCompareAsAWholeFirstNumberFirst) {
  struct Case {
    const char* published;
    bool newer;
  } cases[] = {{"0.25.36", false},   {"0.25.40", true},
               {"1.0.0", true},      {"0.24.40", false},
               {"0.24.30", false},   {"", false},
               {"0.25", false},      {"0..37", false},
               {"0.26", true},       {"x.y.z", false},
               {" 0.25.40", true},   {"0.25.37\r", true},
               {"0.25.36\r", false}, {"0.25.99999999999999999999999", true}};
  for (const Case& c : cases)
    EXPECT_EQ(c.newer, services::programVersionNewer(c.published, "0.25.36")) << c.published;
}

TEST(UpdateComparison, DatesCompareAsDates) {
  struct Case {
    const char* published;
    const char* dbDate;
    bool newer;
  } cases[] = {{"2026-11-29", "2026-11-30", false},
               {"2026-11-30", "2026-11-30", false},
               {"2026-12-01", "2026-11-30", true},
               {"2027-01-01", "2026-12-31", true},
               {"2026-12-01\r", "2026-11-30", true},
               {"2026-02-30", "2026-01-01", false},
               {"2026-12", "2026-11-30", false},
               {"", "2026-11-30", false},
               {"2026-12-01", "", true},
               {"someday", "2026-11-30", false}};
  for (const Case& c : cases)
    EXPECT_EQ(c.newer, services::databaseDateNewer(c.published, c.dbDate))
        << c.published << " / " << c.dbDate;
}

TEST(UpdateComparison, ResultTexts) {
  services::UpdateInfo info;
  info.currentVersion = "0.25.36";
  info.PublishedVersion = "0.25.40";
  info.PublishedDbDate = "2026-12-01";
  EXPECT_EQ(
      (services::UpdateTexts{"yes:  0.25.36 \u2192 0.25.40", " - ", "yes:  2026-11-30 \u2192 2026-12-01"}),
      services::updateResultTexts(info, "2026-11-30"));
  info.PublishedVersion = "0.25.36";
  info.PublishedDbDate = "2026-11-30";
  EXPECT_EQ((services::UpdateTexts{"no:  0.25.36", " - ", "no:  2026-11-30"}),
            services::updateResultTexts(info, "2026-11-30"));
}

TEST(UpdateComparison, VersionFileLinesThreeAndFive) {
  struct Case {
    std::string body;
    bool counts;
    const char* version;
    const char* date;
  } cases[] = {
      {goodFile, true, "0.25.40", "2026-12-01"},
      {"a\r\nb=1\r\nc=0.25.40\r\nd=2\r\ne=2026-12-01\r\n", true, "0.25.40", "2026-12-01"},
      {"a\nb\nc=0.25.40=x\nd\ne=2026-12-01", true, "0.25.40", "2026-12-01"},
      {"a\nb\nc=0.25.40\nd=2026-12-01\n", false, "0.25.40", ""},
      {"a\nb\nc 0.25.40\nd\ne=2026-12-01\n", false, "", "2026-12-01"},
      {"a\nb\nc=\nd\ne=2026-12-01\n", false, "", "2026-12-01"},
  };
  for (const Case& c : cases) {
    services::UpdateInfo info;
    EXPECT_EQ(c.counts, services::readVersionFile(c.body, info)) << c.body;
    EXPECT_EQ(c.body, info.VersionFileText);
    EXPECT_EQ(c.version, info.PublishedVersion) << c.body;
    EXPECT_EQ(c.date, info.PublishedDbDate) << c.body;
  }
}

TEST(UpdateComparison, TheUrlNamesTheConfiguredHostUnlessTheEnvironmentGivesOne) {
  const std::string path = "/Linux/ZN-Linux-API-Version.ini";
  for (const char* value : {static_cast<const char*>(nullptr), ""}) {
    if (value)
      g_setenv("ZN_UPDATE_URL", value, TRUE);
    else
      g_unsetenv("ZN_UPDATE_URL");
    const std::string url = services::versionFileUrl();
    EXPECT_EQ(0u, url.find("http://"));
    EXPECT_EQ(url.size() - path.size(), url.rfind(path)) << url;
  }
  g_setenv("ZN_UPDATE_URL", "http://mirror.example/v.ini", TRUE);
  EXPECT_EQ("http://mirror.example/v.ini", services::versionFileUrl());
  g_unsetenv("ZN_UPDATE_URL");
}

TEST_F(UpdateCheckTest, BadAnswersFailQuicklyAndOnlyGoodOnesCount) {
  const std::string padding = "\n" + std::string(services::httpBodyLimit - goodFile.size() - 1, '#');
  HttpTestServer ftpLike;
  testing_support::TempDir dir;
  const std::string localFile = dir.write("version.ini", goodFile);
  const std::string ftpUrl = "ftp://127.0.0.1:" + std::to_string(ftpLike.port()) + "/version.ini";
  std::vector<std::string> chain;
  for (int hop = 0; hop <= 5; ++hop) chain.push_back("/hop" + std::to_string(hop));
  for (int hop = 0; hop < 5; ++hop) server.serve(chain[hop], redirect(server.url(chain[hop + 1])));
  server.serve(chain[5], complete(goodFile));

  struct Case {
    const char* name;
    HttpReply reply;
    bool counts;
  } cases[] = {
      {"a good file", complete(goodFile), true},
      {"an error status with a good file", complete(goodFile, 500), true},
      {"exactly the size limit", complete(goodFile + padding), true},
      {"one byte over the size limit", complete(goodFile + padding + "#"), false},
      {"2 MB", complete(goodFile + std::string(2000000, '#')), false},
      {"a body without end", ofKind(ReplyKind::Endless), false},
      {"four lines", complete("a\nb\nc=0.25.40\nd=2026-12-01\n"), false},
      {"line 3 without =", complete("a\nb\nc 0.25.40\nd\ne=2026-12-01\n"), false},
      {"binary bytes", complete(goodFile + std::string("\0\x01\xff", 3)), false},
      {"invalid UTF-8", complete("a\nb\nc=0.25.40\xC3\nd\ne=2026-12-01\n"), false},
      {"an empty body", complete(""), false},
      {"a 404 page",
       complete("<html>\n<head><title>404</title></head>\n<body>\n<h1>Not Found</h1>\n</body>\n", 404),
       false},
      {"a 500 page", complete("<html>\n<body>\nInternal error\n</body>\n</html>\n", 500), false},
      {"the connection closed mid-body", ofKind(ReplyKind::CloseMidBody), false},
      {"five redirects", redirect(server.url(chain[1])), true},
      {"six redirects", redirect(server.url(chain[0])), false},
      {"a redirect loop", redirect(server.url(versionPath)), false},
      {"a redirect to a file: URL", redirect("file://" + localFile), false},
      {"a redirect to an ftp: URL", redirect(ftpUrl), false},
  };
  for (const Case& c : cases) {
    server.serve(versionPath, c.reply);
    info = services::UpdateInfo();
    EXPECT_EQ(c.counts, check().failure == services::UpdateFailure::None) << c.name;
    EXPECT_LT(seconds, 5.0) << c.name << ": failing must not wait for the time limit";
  }
  EXPECT_EQ(0, ftpLike.connectionCount()) << "a redirect leads to http and https only";
  EXPECT_EQ(0u, server.lastRequest().find("GET /Linux/ZN-Linux-API-Version.ini HTTP/1.1\r\n"));
  EXPECT_NE(std::string::npos, server.lastRequest().find("\r\nCache-Control: no-cache\r\n"));

  // Why a check failed, as the update window tells it.
  using F = services::UpdateFailure;
  for (const auto& [reply, failure] : {std::pair(complete(goodFile + padding + "#"), F::TooLarge),
                                       {complete("a\nb\nc\n"), F::NotAVersionFile},
                                       {ofKind(ReplyKind::CloseMidBody), F::TransferBroken}}) {
    server.serve(versionPath, reply);
    EXPECT_EQ(failure, check().failure) << reply.body.size();
  }
  g_setenv("ZN_UPDATE_URL", "http://127.0.0.1:1/version.ini", TRUE);
  EXPECT_EQ(F::Unreachable, check().failure) << "nobody listens on port 1";
}

// A server that never answers, and one that stalls after the headers: each waits out
// the time limit, so each is a test of its own that ctest runs beside others.
class UpdateStallTest : public UpdateCheckTest, public ::testing::WithParamInterface<ReplyKind> {};

TEST_P(UpdateStallTest, FailsAtTheTimeLimit) {
  server.serve(versionPath, ofKind(GetParam()));
  EXPECT_EQ(services::UpdateFailure::TimedOut, check().failure);
  EXPECT_GE(seconds, services::httpTimeoutMs / 1000.0 - 0.1);
  EXPECT_LT(seconds, services::httpTimeoutMs / 1000.0 + 1.0);
}

INSTANTIATE_TEST_SUITE_P(Servers, UpdateStallTest,
                         ::testing::Values(ReplyKind::Silent, ReplyKind::HeadersThenStall));

TEST_F(UpdateCheckTest, WithoutLibcurlEveryDownloadFailsAndOneLineIsWritten) {
  server.serve(versionPath, complete(goodFile));
  services::setHttpLibraryNames({"libzn-no-such-curl.so.4", "libglib-2.0.so.0"});
  testing::internal::CaptureStderr();
  EXPECT_EQ(services::UpdateFailure::NoHttpLibrary, check().failure);
  EXPECT_EQ(services::UpdateFailure::NoHttpLibrary, check().failure);
  EXPECT_EQ("[Error] can't open 'libcurl' dynamic library needed by Mail and HTTP commands\n",
            testing::internal::GetCapturedStderr());
  EXPECT_EQ(0, server.connectionCount());

  // A library without the functions is passed over for the next name.
  services::setHttpLibraryNames({"libglib-2.0.so.0", "libcurl.so.4"});
  EXPECT_EQ(services::UpdateFailure::None, check().failure);
}

}  // namespace
