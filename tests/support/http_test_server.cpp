// The tests' HTTP server: GIO's threaded socket service, one thread per connection.
#include "support/http_test_server.h"

namespace testing_support {
namespace {

// A stalled connection gives up after this, so that a client without bounds fails late
// instead of hanging the test for good.
const int stallLimitSeconds = 20;

std::string reasonPhrase(int status) {
  switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
  }
}

const char* const notFoundPage =
    "<!DOCTYPE html>\n<html>\n<head><title>404 Not Found</title></head>\n<body>\n"
    "<h1>Not Found</h1>\n</body>\n</html>\n";

bool writeAll(GOutputStream* out, const std::string& bytes, GCancellable* cancel) {
  return g_output_stream_write_all(out, bytes.data(), bytes.size(), nullptr, cancel, nullptr);
}

// Reads until the client closes, the time limit passes or the server stops.
void waitForClientToLeave(GInputStream* in, GCancellable* cancel) {
  char buffer[256];
  while (g_input_stream_read(in, buffer, sizeof buffer, cancel, nullptr) > 0) {
  }
}

std::string readRequestHead(GInputStream* in, GCancellable* cancel) {
  std::string head;
  char buffer[1024];
  while (head.find("\r\n\r\n") == std::string::npos) {
    const gssize count = g_input_stream_read(in, buffer, sizeof buffer, cancel, nullptr);
    if (count <= 0) break;
    head.append(buffer, static_cast<size_t>(count));
  }
  return head;
}

std::string headerBlock(const HttpReply& reply, bool withLength) {
  std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + reasonPhrase(reply.status) + "\r\n";
  if (!reply.location.empty()) head += "Location: " + reply.location + "\r\n";
  if (withLength) head += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
  return head + "Content-Type: text/plain\r\nConnection: close\r\n\r\n";
}

void sendEndlessBody(GOutputStream* out, GCancellable* cancel) {
  const std::string block(64 * 1024, 'x');
  while (writeAll(out, block, cancel)) {
  }
}

}  // namespace

HttpTestServer::HttpTestServer() {
  context_ = g_main_context_new();
  loop_ = g_main_loop_new(context_, FALSE);
  cancel_ = g_cancellable_new();
  // The service watches for connections in the context that is current when it starts.
  g_main_context_push_thread_default(context_);
  service_ = g_threaded_socket_service_new(16);
  GSocketAddress* address = g_inet_socket_address_new_from_string("127.0.0.1", 0);
  GSocketAddress* bound = nullptr;
  if (g_socket_listener_add_address(G_SOCKET_LISTENER(service_), address, G_SOCKET_TYPE_STREAM,
                                    G_SOCKET_PROTOCOL_TCP, nullptr, &bound, nullptr)) {
    port_ = g_inet_socket_address_get_port(G_INET_SOCKET_ADDRESS(bound));
    g_object_unref(bound);
  }
  g_object_unref(address);
  g_signal_connect(service_, "run", G_CALLBACK(onRun), this);
  g_socket_service_start(service_);
  g_main_context_pop_thread_default(context_);
  thread_ = std::thread([this] {
    g_main_context_push_thread_default(context_);
    g_main_loop_run(loop_);
    g_main_context_pop_thread_default(context_);
  });
}

HttpTestServer::~HttpTestServer() {
  g_cancellable_cancel(cancel_);
  {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return activeConnections_ == 0; });
  }
  g_main_context_invoke(context_, onStop, this);
  thread_.join();
  g_object_unref(service_);
  g_object_unref(cancel_);
  g_main_loop_unref(loop_);
  g_main_context_unref(context_);
}

void HttpTestServer::serve(const std::string& path, const HttpReply& reply) {
  std::lock_guard<std::mutex> lock(mutex_);
  replies_[path] = reply;
}

std::string HttpTestServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int HttpTestServer::connectionCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return connectionCount_;
}

std::string HttpTestServer::lastRequest() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastRequest_;
}

// Runs on the server's thread, where the pending accept must see its cancellation
// through before the loop ends, or it would stay behind.
gboolean HttpTestServer::onStop(gpointer self) {
  auto* server = static_cast<HttpTestServer*>(self);
  g_socket_service_stop(server->service_);
  g_socket_listener_close(G_SOCKET_LISTENER(server->service_));
  GSource* last = g_idle_source_new();
  g_source_set_priority(last, G_PRIORITY_LOW);
  auto quit = [](gpointer loop) -> gboolean {
    g_main_loop_quit(static_cast<GMainLoop*>(loop));
    return G_SOURCE_REMOVE;
  };
  g_source_set_callback(last, quit, server->loop_, nullptr);
  g_source_attach(last, server->context_);
  g_source_unref(last);
  return G_SOURCE_REMOVE;
}

gboolean HttpTestServer::onRun(GThreadedSocketService*, GSocketConnection* connection, GObject*,
                               gpointer self) {
  auto* server = static_cast<HttpTestServer*>(self);
  {
    std::lock_guard<std::mutex> lock(server->mutex_);
    ++server->activeConnections_;
    ++server->connectionCount_;
  }
  server->answer(connection);
  g_io_stream_close(G_IO_STREAM(connection), nullptr, nullptr);
  std::lock_guard<std::mutex> lock(server->mutex_);
  --server->activeConnections_;
  server->idle_.notify_all();
  return TRUE;
}

HttpReply HttpTestServer::replyFor(const std::string& requestHead) {
  const size_t start = requestHead.find(' ') + 1;
  const std::string path = requestHead.substr(start, requestHead.find(' ', start) - start);
  std::lock_guard<std::mutex> lock(mutex_);
  lastRequest_ = requestHead;
  const auto found = replies_.find(path);
  if (found != replies_.end()) return found->second;
  HttpReply missing;
  missing.status = 404;
  missing.body = notFoundPage;
  return missing;
}

void HttpTestServer::answer(GSocketConnection* connection) {
  g_socket_set_timeout(g_socket_connection_get_socket(connection), stallLimitSeconds);
  GInputStream* in = g_io_stream_get_input_stream(G_IO_STREAM(connection));
  GOutputStream* out = g_io_stream_get_output_stream(G_IO_STREAM(connection));
  const HttpReply reply = replyFor(readRequestHead(in, cancel_));
  if (reply.onRequest) reply.onRequest();
  switch (reply.kind) {
    case ReplyKind::Complete: writeAll(out, headerBlock(reply, true) + reply.body, cancel_); break;
    case ReplyKind::Silent: waitForClientToLeave(in, cancel_); break;
    case ReplyKind::HeadersThenStall:
      if (writeAll(out, headerBlock(reply, true), cancel_)) waitForClientToLeave(in, cancel_);
      break;
    case ReplyKind::CloseMidBody:
      writeAll(out, headerBlock(reply, true) + reply.body.substr(0, reply.body.size() / 2), cancel_);
      break;
    case ReplyKind::Endless:
      if (writeAll(out, headerBlock(reply, false), cancel_)) sendEndlessBody(out, cancel_);
      break;
  }
}

}  // namespace testing_support
