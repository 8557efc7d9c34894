// A small web server on 127.0.0.1 port 80 for the harvest's page fetches:
// each path has its answer, a page or a misbehaviour, and a count of hits.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

class PageServer
{
public:
    enum Mode
    {
        kAnswer,  // the status line, the headers and the body
        kSilent,  // reads the request and never answers
        kClose,   // reads the request and closes at once
    };
    struct Page
    {
        Mode mode = kAnswer;
        int status = 200;
        std::string body;
    };

    PageServer() { InitializeCriticalSection(&m_cs); }
    ~PageServer()
    {
        Stop();
        DeleteCriticalSection(&m_cs);
    }
    PageServer(const PageServer&) = delete;
    PageServer& operator=(const PageServer&) = delete;

    void Add(const std::string& path, const Page& page) { m_pages[path] = page; }

    // Listens on 127.0.0.1:80; false when the port cannot be had.
    bool Start()
    {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        m_hStop = CreateEventW(NULL, TRUE, FALSE, NULL);
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (m_listener == INVALID_SOCKET)
            return false;
        BOOL bReuse = TRUE;
        setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, (const char*)&bReuse, sizeof(bReuse));
        sockaddr_in addr = {};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(80);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (bind(m_listener, (sockaddr*)&addr, sizeof(addr)) != 0 || listen(m_listener, 16) != 0)
            return false;
        m_hAccept = CreateThread(NULL, 0, AcceptProc, this, 0, NULL);
        return m_hAccept != NULL;
    }

    void Stop()
    {
        if (m_hStop == NULL)
            return;
        SetEvent(m_hStop);
        closesocket(m_listener);
        m_listener = INVALID_SOCKET;
        if (m_hAccept != NULL) {
            WaitForSingleObject(m_hAccept, 10000);
            CloseHandle(m_hAccept);
        }
        for (HANDLE h : m_connections) {
            WaitForSingleObject(h, 10000);
            CloseHandle(h);
        }
        m_connections.clear();
        CloseHandle(m_hStop);
        m_hStop = NULL;
        WSACleanup();
    }

    int Hits(const std::string& path)
    {
        EnterCriticalSection(&m_cs);
        int n = m_hits[path];
        LeaveCriticalSection(&m_cs);
        return n;
    }

private:
    struct Connection
    {
        PageServer* server;
        SOCKET socket;
    };

    static DWORD WINAPI AcceptProc(LPVOID pParam)
    {
        PageServer* self = (PageServer*)pParam;
        for (;;) {
            SOCKET s = accept(self->m_listener, NULL, NULL);
            if (s == INVALID_SOCKET)
                return 0;
            Connection* pConnection = new Connection{ self, s };
            HANDLE h = CreateThread(NULL, 0, ConnectionProc, pConnection, 0, NULL);
            if (h == NULL) {
                closesocket(s);
                delete pConnection;
                continue;
            }
            self->m_connections.push_back(h);
        }
    }

    static DWORD WINAPI ConnectionProc(LPVOID pParam)
    {
        Connection connection = *(Connection*)pParam;
        delete (Connection*)pParam;
        connection.server->Serve(connection.socket);
        closesocket(connection.socket);
        return 0;
    }

    void Serve(SOCKET s)
    {
        // One request per connection: read up to the end of its headers.
        std::string request;
        char buf[2048];
        while (request.find("\r\n\r\n") == std::string::npos) {
            int n = recv(s, buf, sizeof(buf), 0);
            if (n <= 0)
                return;
            request.append(buf, n);
        }
        std::string path;
        size_t sp1 = request.find(' ');
        size_t sp2 = sp1 == std::string::npos ? sp1 : request.find(' ', sp1 + 1);
        if (sp2 != std::string::npos)
            path = request.substr(sp1 + 1, sp2 - sp1 - 1);
        EnterCriticalSection(&m_cs);
        m_hits[path]++;
        LeaveCriticalSection(&m_cs);

        auto it = m_pages.find(path);
        Page page;
        if (it == m_pages.end()) {
            page.status = 404;
            page.body = "not here";
        } else
            page = it->second;
        if (page.mode == kSilent) {
            WaitForSingleObject(m_hStop, INFINITE);
            return;
        }
        if (page.mode == kClose)
            return;
        std::string answer = "HTTP/1.1 " + std::to_string(page.status) + (page.status == 200 ? " OK" : " Not Found") +
                             "\r\nContent-Type: text/html\r\nCache-Control: no-store\r\n"
                             "Connection: close\r\nContent-Length: " +
                             std::to_string(page.body.size()) + "\r\n\r\n" + page.body;
        send(s, answer.data(), (int)answer.size(), 0);
        shutdown(s, SD_SEND);
        // Let the client read everything before the socket goes.
        while (recv(s, buf, sizeof(buf), 0) > 0) {}
    }

    std::map<std::string, Page> m_pages;
    std::map<std::string, int> m_hits;
    CRITICAL_SECTION m_cs;
    SOCKET m_listener = INVALID_SOCKET;
    HANDLE m_hAccept = NULL;
    HANDLE m_hStop = NULL;
    std::vector<HANDLE> m_connections;
};
