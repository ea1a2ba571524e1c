#pragma once
// A loopback web server for the driver: it answers every request with a small page and keeps
// each request's head (request line and header lines) for the script to check. Plain Win32
// threads: the programs' toolchain has the win32 thread model, which has no std::thread.
// Connections are served one at a time; one that sends no whole head within kReceiveMs (a
// browser's spare connection) is closed unanswered and is no request, so that it holds up
// neither the next request nor the driver's exit.
#include <winsock2.h>

#include <windows.h>

#include <string>
#include <vector>

class HttpListener {
  public:
    static constexpr DWORD kReceiveMs = 2000;

    HttpListener() { InitializeCriticalSection(&lock_); }
    HttpListener(const HttpListener&) = delete;
    HttpListener& operator=(const HttpListener&) = delete;
    ~HttpListener() {
        Stop();
        if (!abandoned_) DeleteCriticalSection(&lock_);
    }

    // Listens on 127.0.0.1:port; false when the port cannot be had.
    bool Start(int port) {
        if (started_ || WSAStartup(MAKEWORD(2, 2), &wsa_) != 0) return false;
        started_ = true;
        socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (socket_ == INVALID_SOCKET) return false;
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<u_short>(port));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (bind(socket_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            listen(socket_, 8) != 0)
            return false;
        thread_ = CreateThread(nullptr, 0, &HttpListener::ServeThread, this, 0, nullptr);
        return thread_ != nullptr;
    }

    std::vector<std::string> Requests() {
        EnterCriticalSection(&lock_);
        std::vector<std::string> copy = requests_;
        LeaveCriticalSection(&lock_);
        return copy;
    }

  private:
    static DWORD WINAPI ServeThread(void* self) {
        static_cast<HttpListener*>(self)->Serve();
        return 0;
    }

    void Serve() {
        for (;;) {
            const SOCKET client = accept(socket_, nullptr, nullptr);
            if (client == INVALID_SOCKET) return; // closed by Stop
            const DWORD wait = kReceiveMs;
            setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&wait),
                       sizeof wait);
            setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&wait),
                       sizeof wait);
            std::string head;
            char buf[4096];
            while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
                const int n = recv(client, buf, sizeof buf, 0);
                if (n <= 0) break;
                head.append(buf, static_cast<size_t>(n));
            }
            const size_t end = head.find("\r\n\r\n");
            if (end == std::string::npos) {
                closesocket(client);
                continue;
            }
            head.resize(end + 2);
            EnterCriticalSection(&lock_);
            requests_.push_back(head);
            LeaveCriticalSection(&lock_);
            const std::string body = "<html><body>Router</body></html>";
            const std::string reply = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n"
                                      "Content-Length: " +
                                      std::to_string(body.size()) +
                                      "\r\nConnection: close\r\n\r\n" + body;
            send(client, reply.data(), static_cast<int>(reply.size()), 0);
            shutdown(client, SD_SEND);
            closesocket(client);
        }
    }

    void Stop() {
        if (socket_ != INVALID_SOCKET) closesocket(socket_);
        socket_ = INVALID_SOCKET;
        if (thread_ != nullptr) {
            // The receive time-out ends the thread's last wait; should it not, the driver still
            // exits, leaving the thread its lock and WinSock.
            if (WaitForSingleObject(thread_, 5 * kReceiveMs) != WAIT_OBJECT_0) abandoned_ = true;
            CloseHandle(thread_);
            thread_ = nullptr;
        }
        if (started_ && !abandoned_) WSACleanup();
        started_ = false;
    }

    WSADATA wsa_{};
    bool started_ = false, abandoned_ = false;
    SOCKET socket_ = INVALID_SOCKET;
    HANDLE thread_ = nullptr;
    CRITICAL_SECTION lock_;
    std::vector<std::string> requests_;
};

// Connections to a listener that send part of a request head, or nothing, and stay open until
// the driver ends, as a browser's spare connections do.
class IdleClients {
  public:
    IdleClients() = default;
    IdleClients(const IdleClients&) = delete;
    IdleClients& operator=(const IdleClients&) = delete;
    ~IdleClients() {
        for (const SOCKET s : sockets_)
            closesocket(s);
        if (started_) WSACleanup();
    }

    // Connects to 127.0.0.1:port and sends text; false when either fails.
    bool Open(int port, const std::string& text) {
        if (!started_) {
            if (WSAStartup(MAKEWORD(2, 2), &wsa_) != 0) return false;
            started_ = true;
        }
        const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET) return false;
        sockets_.push_back(s);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<u_short>(port));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return false;
        return text.empty() || send(s, text.data(), static_cast<int>(text.size()), 0) ==
                                   static_cast<int>(text.size());
    }

  private:
    WSADATA wsa_{};
    bool started_ = false;
    std::vector<SOCKET> sockets_;
};
