#pragma once
// A loopback web server for the driver: it answers every request with a small page and keeps
// each request's head (request line and header lines) for the script to check. Plain Win32
// threads: the programs' toolchain has the win32 thread model, which has no std::thread.
#include <winsock2.h>

#include <windows.h>

#include <string>
#include <vector>

class HttpListener {
  public:
    HttpListener() { InitializeCriticalSection(&lock_); }
    HttpListener(const HttpListener&) = delete;
    HttpListener& operator=(const HttpListener&) = delete;
    ~HttpListener() {
        Stop();
        DeleteCriticalSection(&lock_);
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
            std::string head;
            char buf[4096];
            while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
                const int n = recv(client, buf, sizeof buf, 0);
                if (n <= 0) break;
                head.append(buf, static_cast<size_t>(n));
            }
            const size_t end = head.find("\r\n\r\n");
            if (end != std::string::npos) head.resize(end + 2);
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
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
            thread_ = nullptr;
        }
        if (started_) WSACleanup();
        started_ = false;
    }

    WSADATA wsa_{};
    bool started_ = false;
    SOCKET socket_ = INVALID_SOCKET;
    HANDLE thread_ = nullptr;
    CRITICAL_SECTION lock_;
    std::vector<std::string> requests_;
};
