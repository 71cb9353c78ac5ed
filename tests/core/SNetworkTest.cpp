#include "core/Platform.h"
#include "core/SNetwork.h"
#include "core/SStringArray.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace {

// A socket bound to an ephemeral loopback port; *port receives the port.
SOCKET BoundSocket(int* port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  int size = sizeof(address);
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
  *port = ntohs(address.sin_port);
  return s;
}

// True when s has data (or was closed) within ms.
bool Readable(SOCKET s, int ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval wait = {ms / 1000, (ms % 1000) * 1000};
  return select(0, &set, nullptr, nullptr, &wait) > 0;
}

// A one-thread HTTP server on an ephemeral loopback port. It records each
// request and answers with the reply, says nothing, or closes at once;
// every wait is bounded, so Stop always ends it.
class LoopbackServer {
public:
  enum Mode { REPLY, SILENT, CLOSE_AT_ONCE };

  explicit LoopbackServer(Mode mode, std::string reply = std::string())
      : m_mode(mode), m_reply(std::move(reply)), m_listen(BoundSocket(&m_port)) {
    listen(m_listen, 4);
    m_thread = std::thread([this] { Run(); });
  }
  ~LoopbackServer() {
    m_stop = true;
    m_thread.join();
    closesocket(m_listen);
  }
  int Port() const { return m_port; }
  int Connections() const { return m_connections; }
  std::string Request() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_request;
  }
  std::string Url(const char* path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
  }

private:
  void Run() {
    while (!m_stop) {
      if (!Readable(m_listen, 20)) continue;
      SOCKET client = accept(m_listen, nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      ++m_connections;
      if (m_mode != CLOSE_AT_ONCE) Serve(client);
      closesocket(client);
    }
  }

  void Serve(SOCKET client) {
    // Read until the client has been quiet for a moment, so that extra bytes
    // after the request are seen too.
    std::string request;
    char block[1024];
    for (int quiet = 0; !m_stop && quiet < (request.empty() ? 150 : 8);) {
      if (!Readable(client, 20)) {
        ++quiet;
        continue;
      }
      int n = recv(client, block, sizeof(block), 0);
      if (n <= 0) break;
      request.append(block, n);
      quiet = 0;
    }
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_request = request;
    }
    if (m_mode == REPLY) {
      send(client, m_reply.data(), static_cast<int>(m_reply.size()), 0);
      shutdown(client, SD_SEND);
      while (Readable(client, 100) && recv(client, block, sizeof(block), 0) > 0) {
      }
    } else {
      for (int waited = 0; waited < 300 && !m_stop; waited += 20) Sleep(20);
    }
  }

  Mode m_mode;
  std::string m_reply;
  int m_port = 0;
  SOCKET m_listen;
  std::thread m_thread;
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_connections{0};
  std::mutex m_mutex;
  std::string m_request;
};

std::string HttpReply(const std::string& body, const char* status = "200 OK") {
  return std::string("HTTP/1.1 ") + status + "\r\nContent-Type: text/plain\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

class SNetworkTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    WSADATA data;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
  }
  static void TearDownTestSuite() { WSACleanup(); }

  SString Get(const std::string& url, const char* query = "") {
    return net.HttpGet(url.c_str(), query);
  }
  SString Post(int port, const char* body, const char* host = "127.0.0.1") {
    return net.HttpPost(host, port, "/app.php", body);
  }

  SNetwork net;
};

TEST_F(SNetworkTest, GetSendsTheAgentAndTheQueryAndReturnsWholeBodies) {
  LoopbackServer server(LoopbackServer::REPLY, HttpReply("hello"));
  std::string url = server.Url("/app.php");
  EXPECT_EQ(SString("hello"), Get(url, "cmd=all_hiscores&difficulty=2"));
  std::string request = server.Request();
  EXPECT_EQ(0u, request.find("GET /app.php?cmd=all_hiscores&difficulty=2 HTTP/1."));
  EXPECT_NE(std::string::npos, request.find("\r\nUser-Agent: Vandro\r\n"));
  EXPECT_EQ(std::string::npos, request.find("Cookie:"));
  EXPECT_EQ(SString("hello"), Get(url, nullptr));
  EXPECT_EQ(0u, server.Request().find("GET /app.php HTTP/1."));

  std::string large;
  for (int i = 0; i < 5000; ++i) large += static_cast<char>('a' + i % 26);
  const struct {
    std::string reply, body;
  } cases[] = {
      {HttpReply(large), large},
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n"
       "\r\n5\r\nchunk\r\n6\r\ned out\r\n0\r\n\r\n",
       "chunked out"},
      {HttpReply("not here", "404 Not Found"), "not here"},  // whatever the status
  };
  for (const auto& c : cases) {
    LoopbackServer other(LoopbackServer::REPLY, c.reply);
    EXPECT_EQ(SString(c.body.c_str()), Get(other.Url("/x")));
  }
}

TEST_F(SNetworkTest, PostSendsTheExactRequestAndReturnsTheTextAfterTheFirstBlankLine) {
  LoopbackServer server(LoopbackServer::REPLY, "HTTP/1.0 200 OK\r\nServer: test\r\n\r\nabc");
  EXPECT_EQ(SString("abc"), Post(server.Port(), "abcdefghij", "localhost"));
  EXPECT_EQ(
      "POST /app.php HTTP/1.0\r\nHost: localhost\r\n"
      "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 10\r\n"
      "\r\nabcdefghij\r\n",
      server.Request());

  std::string large(10000, 'q');
  const struct {
    std::string reply, expected;
  } cases[] = {
      {"HTTP/1.0 500 Internal Server Error\r\nX-One: 1\r\n\r\nabc", "abc"},
      {"HTTP/1.0 200 OK\r\nX-One: 1\r\n\r\n", ""},
      {"HTTP/1.0 200 OK\r\nX-One: 1\r\nabc", ""},
      {"HTTP/1.0 200 OK\r\n\r\nfirst\r\n\r\nsecond", "first\r\n\r\nsecond"},
      {"HTTP/1.0 200 OK\r\n\r\n" + large, large},
  };
  for (const auto& c : cases) {
    LoopbackServer other(LoopbackServer::REPLY, c.reply);
    EXPECT_EQ(SString(c.expected.c_str()), Post(other.Port(), "k=v")) << c.reply.substr(0, 40);
  }
}

TEST_F(SNetworkTest, FailuresGiveTheEmptyText) {
  // Nothing listens, the server closes at once, or it never answers.
  int closed = 0;
  closesocket(BoundSocket(&closed));
  EXPECT_EQ(0, Get("http://127.0.0.1:" + std::to_string(closed) + "/").GetLength());
  EXPECT_EQ(0, Post(closed, "a=1").GetLength());
  for (LoopbackServer::Mode mode : {LoopbackServer::CLOSE_AT_ONCE, LoopbackServer::SILENT}) {
    LoopbackServer getServer(mode), postServer(mode);
    EXPECT_EQ(0, Get(getServer.Url("/app.php")).GetLength()) << mode;
    EXPECT_EQ(0, Post(postServer.Port(), "a=1").GetLength()) << mode;
    EXPECT_EQ(1, postServer.Connections()) << mode;  // a POST is sent once
  }
  EXPECT_EQ(0, net.HttpGet(nullptr, "").GetLength());
  EXPECT_EQ(0, net.HttpGet("not a url", "").GetLength());
  // A host that does not resolve: nothing is sent.
  LoopbackServer idle(LoopbackServer::REPLY, "HTTP/1.0 200 OK\r\n\r\nabc");
  EXPECT_EQ(0, net.HttpPost("", idle.Port(), "/app.php", "a=1").GetLength());
  EXPECT_EQ(0, net.HttpPost(nullptr, idle.Port(), "/app.php", "a=1").GetLength());
  EXPECT_EQ(0, idle.Connections());

  SStringArray addresses;
  ASSERT_TRUE(net.ResolveHost("127.0.0.1", &addresses));
  ASSERT_TRUE(net.ResolveHost("localhost", &addresses));  // appended
  ASSERT_GE(addresses.GetCount(), 2);
  EXPECT_EQ(SString("127.0.0.1"), addresses.Get(1));
  EXPECT_FALSE(net.ResolveHost("", &addresses));
  EXPECT_EQ(SString("127.0.0.1"), net.GetHostAddress("127.0.0.1"));
  EXPECT_EQ(0, net.GetHostAddress("").GetLength());
}

}  // namespace
