// A small HTTP server for tests: 127.0.0.1 on a free port, answering on threads of its
// own, so that a client that blocks the test's thread can still be served.
#pragma once

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include <gio/gio.h>

namespace testing_support {

enum class ReplyKind {
  Complete,          // status line, headers and the whole body, then the connection closes
  Silent,            // the connection is accepted and never answered
  HeadersThenStall,  // the header block, then nothing
  CloseMidBody,      // the body's length announced, half of it sent, then the connection closes
  Endless,           // a body that never ends, sent until the client goes away
};

struct HttpReply {
  ReplyKind kind = ReplyKind::Complete;
  int status = 200;
  std::string body;
  std::string location;  // sent as the Location header when not empty
  // Runs on the server's thread when the request has arrived, before any answer.
  std::function<void()> onRequest;
};

class HttpTestServer {
 public:
  HttpTestServer();
  // Cuts every open connection and stops the threads.
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  // What a request for the path gets; other paths get a 404 page.
  void serve(const std::string& path, const HttpReply& reply);
  std::string url(const std::string& path) const;
  int port() const { return port_; }
  int connectionCount() const;
  // The head of the request received last, as it came.
  std::string lastRequest() const;

 private:
  static gboolean onStop(gpointer self);
  static gboolean onRun(GThreadedSocketService*, GSocketConnection* connection, GObject*, gpointer self);
  void answer(GSocketConnection* connection);
  HttpReply replyFor(const std::string& requestHead);

  GMainContext* context_ = nullptr;
  GMainLoop* loop_ = nullptr;
  GSocketService* service_ = nullptr;
  GCancellable* cancel_ = nullptr;
  std::thread thread_;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::condition_variable idle_;
  int activeConnections_ = 0;
  int connectionCount_ = 0;
  std::map<std::string, HttpReply> replies_;
  std::string lastRequest_;
};

}  // namespace testing_support
