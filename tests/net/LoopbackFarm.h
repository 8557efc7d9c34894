// A farm of proxies inside the test process: listening sockets on loopback
// ports that the system picks, every one answering any request with the test
// page after a fixed delay. It counts the connections each port takes and the
// most it held open at once.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CLoopbackFarm
{
public:
    CLoopbackFarm(int nPorts, DWORD dwDelayMs) : m_dwDelayMs(dwDelayMs)
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        for (int i = 0; i < nPorts; ++i) {
            SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
            sockaddr_in addr = {};
            addr.sin_family = AF_INET;
            addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            addr.sin_port = 0;
            int nLen = sizeof(addr);
            if (s == INVALID_SOCKET || bind(s, (sockaddr*)&addr, sizeof(addr)) != 0 || listen(s, 64) != 0 ||
                getsockname(s, (sockaddr*)&addr, &nLen) != 0) {
                if (s != INVALID_SOCKET)
                    closesocket(s);
                continue;
            }
            u_long nonBlocking = 1;
            ioctlsocket(s, FIONBIO, &nonBlocking);
            m_listeners.push_back(s);
            m_ports.push_back(ntohs(addr.sin_port));
            m_counts.push_back(0);
        }
        m_thread = std::thread([this] { Serve(); });
    }
    ~CLoopbackFarm()
    {
        m_bStop = true;
        if (m_thread.joinable())
            m_thread.join();
        for (SOCKET s : m_listeners)
            closesocket(s);
        for (Connection& c : m_connections)
            closesocket(c.s);
        WSACleanup();
    }

    const std::vector<int>& Ports() const { return m_ports; }
    // Connections each port took, in the order of Ports().
    std::vector<int> Counts()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_counts;
    }
    int PeakOpen()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_nPeakOpen;
    }
    void Reset()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (int& n : m_counts)
            n = 0;
        m_nPeakOpen = 0;
    }

private:
    struct Connection
    {
        SOCKET s;
        DWORD dwAccepted;
        std::string head;
    };

    void Serve()
    {
        const std::string body = "<html><body><p>The search engine is up today.</p></body></html>";
        const std::string reply =
            "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
            "\r\nConnection: close\r\n\r\n" + body;
        while (!m_bStop) {
            std::vector<WSAPOLLFD> fds;
            for (SOCKET s : m_listeners)
                fds.push_back({ s, POLLRDNORM, 0 });
            for (Connection& c : m_connections)
                fds.push_back({ c.s, POLLRDNORM, 0 });
            WSAPoll(fds.data(), (ULONG)fds.size(), 5);

            for (size_t i = 0; i < m_listeners.size(); ++i) {
                if (!(fds[i].revents & POLLRDNORM))
                    continue;
                for (;;) {
                    SOCKET s = accept(m_listeners[i], NULL, NULL);
                    if (s == INVALID_SOCKET)
                        break;
                    u_long nonBlocking = 1;
                    ioctlsocket(s, FIONBIO, &nonBlocking);
                    m_connections.push_back({ s, ::GetTickCount(), std::string() });
                    std::lock_guard<std::mutex> lock(m_mutex);
                    m_counts[i]++;
                    if ((int)m_connections.size() > m_nPeakOpen)
                        m_nPeakOpen = (int)m_connections.size();
                }
            }
            for (size_t i = 0; i < m_connections.size();) {
                Connection& c = m_connections[i];
                char buffer[2048];
                int n = recv(c.s, buffer, sizeof(buffer), 0);
                if (n > 0)
                    c.head.append(buffer, n);
                bool bGone = n == 0 || (n < 0 && WSAGetLastError() != WSAEWOULDBLOCK);
                bool bDue =
                    c.head.find("\r\n\r\n") != std::string::npos && ::GetTickCount() - c.dwAccepted >= m_dwDelayMs;
                if (bDue)
                    send(c.s, reply.data(), (int)reply.size(), 0);
                if (bDue || bGone) {
                    shutdown(c.s, SD_SEND);
                    closesocket(c.s);
                    m_connections.erase(m_connections.begin() + i);
                    continue;
                }
                ++i;
            }
        }
    }

    DWORD m_dwDelayMs;
    std::vector<SOCKET> m_listeners;
    std::vector<int> m_ports;
    std::vector<Connection> m_connections;  // the serving thread's own
    std::mutex m_mutex;                     // guards the two below
    std::vector<int> m_counts;
    int m_nPeakOpen = 0;
    std::atomic<bool> m_bStop{ false };
    std::thread m_thread;
};
