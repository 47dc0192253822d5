#include "LoopbackServer.h"

#include <algorithm>

#if defined(_WIN32)
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace zavi::test {
namespace {

#if !defined(_WIN32)
int closesocket(SOCKET socket) {
    return close(socket);
}
#endif

// Winsock wants to be started and ended; POSIX sockets need nothing.
void StartSockets() {
#if defined(_WIN32)
    WSADATA data{};
    WSAStartup(MAKEWORD(2, 2), &data);
#endif
}

void EndSockets() {
#if defined(_WIN32)
    WSACleanup();
#endif
}

}  // namespace

LoopbackServer::LoopbackServer(unsigned short port) {
    StartSockets();
#if defined(_WIN32)
    m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
#else
    // Never inherited: a web engine's process started meanwhile would keep the port
    // listening after the test, and the next test could not have it.
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
#endif
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
#if !defined(_WIN32)
    const int reuse = 1;
    setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
#endif
    if (m_listener == INVALID_SOCKET ||
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(m_listener, 8) != 0) {
        if (m_listener != INVALID_SOCKET) {
            closesocket(m_listener);
        }
        m_listener = INVALID_SOCKET;
        return;
    }
    m_thread = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
    m_stop = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
    {
        // A connection still waiting for its request is woken and given up.
        const std::lock_guard<std::mutex> lock(m_mutex);
        for (const SOCKET client : m_open) {
            shutdown(client, 2);  // both ways (SHUT_RDWR, SD_BOTH)
        }
    }
    for (std::thread& answering : m_answering) {
        answering.join();
    }
    for (const SOCKET client : m_held) {
        closesocket(client);
    }
    if (m_listener != INVALID_SOCKET) {
        closesocket(m_listener);
    }
    EndSockets();
}

int LoopbackServer::GetsFor(const std::string& path) const {
    const std::string wanted = "GET " + path + " ";
    const std::lock_guard<std::mutex> lock(m_mutex);
    int count = 0;
    for (const std::string& line : m_requestLines) {
        count += line.rfind(wanted, 0) == 0 ? 1 : 0;
    }
    return count;
}

std::vector<std::string> LoopbackServer::RequestLines() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_requestLines;
}

void LoopbackServer::Serve() {
    while (!m_stop) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_listener, &readable);
        timeval wait{0, 20000};
        if (select(static_cast<int>(m_listener) + 1, &readable, nullptr, nullptr, &wait) <= 0) {
            continue;
        }
#if defined(_WIN32)
        const SOCKET client = accept(m_listener, nullptr, nullptr);
#else
        const SOCKET client = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
#endif
        if (client == INVALID_SOCKET) {
            continue;
        }
        if (m_answerNothing) {
            m_held.push_back(client);
            continue;
        }
        Take(client);
    }
}

void LoopbackServer::Take(SOCKET client) {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_open.push_back(client);
    }
    m_answering.emplace_back([this, client] {
        Answer(client);
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_open.erase(std::find(m_open.begin(), m_open.end(), client));
        closesocket(client);
    });
}

void LoopbackServer::Answer(SOCKET client) {
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
        const int received = recv(client, buffer, sizeof buffer, 0);
        if (received <= 0) {
            break;
        }
        request.append(buffer, static_cast<std::size_t>(received));
    }
    const std::size_t lineEnd = request.find("\r\n");
    if (lineEnd == std::string::npos) {
        return;
    }
    bool fail = false;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_requestLines.push_back(request.substr(0, lineEnd));
        fail = m_failures > 0;
        m_failures = fail ? m_failures - 1 : 0;
    }
    std::string status = "200 OK";
    std::string body = "<!DOCTYPE html><html><body>test station</body></html>";
    if (fail) {
        status = std::to_string(m_failStatus.load()) + " Failed";
        body = "<!DOCTYPE html><html><body>the server's own error page</body></html>";
    }
    const std::string reply =
        "HTTP/1.0 " + status +
        "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
        "\r\nConnection: close\r\n\r\n" + body;
    send(client, reply.data(), static_cast<int>(reply.size()), 0);
}

unsigned short PortOf(const std::string& host) {
    const std::size_t colon = host.rfind(':');
    return colon == std::string::npos
               ? 80
               : static_cast<unsigned short>(std::stoi(host.substr(colon + 1)));
}

}  // namespace zavi::test
