// A tiny HTTP server on 127.0.0.1 for the tests: it answers every GET with a small page
// (or, when told, an HTTP error) and keeps the request lines it saw, so a test can tell
// what the browser asked for.
#pragma once

#if defined(_WIN32)
#include <winsock2.h>
#else
using SOCKET = int;
constexpr SOCKET INVALID_SOCKET = -1;
#endif

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zavi::test {

class LoopbackServer {
  public:
    explicit LoopbackServer(unsigned short port);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool Listening() const { return m_listener != INVALID_SOCKET; }
    // The next `count` requests are answered with this HTTP status and no page.
    void FailNext(int count, int status) {
        m_failures = count;
        m_failStatus = status;
    }
    // From now on, connections are taken and held open, never answered: a page that never
    // comes.
    void AnswerNothing() { m_answerNothing = true; }
    // How many "GET path" requests arrived so far.
    int GetsFor(const std::string& path) const;
    std::vector<std::string> RequestLines() const;

  private:
    void Serve();
    void Answer(SOCKET client);
    // Each connection on a thread of its own: a web engine opens connections ahead of its
    // requests, and one that sends nothing must not keep the next from being answered.
    void Take(SOCKET client);

    SOCKET m_listener = INVALID_SOCKET;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requestLines;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_failures{0};
    std::atomic<int> m_failStatus{503};
    std::atomic<bool> m_answerNothing{false};
    std::vector<SOCKET> m_held;            // by the serving thread alone
    std::vector<SOCKET> m_open;            // being answered, under m_mutex
    std::vector<std::thread> m_answering;  // by the serving thread, then the destructor
    std::thread m_thread;
};

// The port of a "host:port" station host (80 when it names none).
unsigned short PortOf(const std::string& host);

}  // namespace zavi::test
