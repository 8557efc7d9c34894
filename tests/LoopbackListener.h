// A listening socket on 127.0.0.1 at a port the system picks; it accepts
// nothing by itself, so what connects waits until the test answers.
#pragma once

#include <winsock2.h>
#include <windows.h>

class LoopbackListener
{
public:
    LoopbackListener()
    {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof(address);
        if (m_socket == INVALID_SOCKET || bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            listen(m_socket, 16) != 0 || getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
    }
    ~LoopbackListener()
    {
        if (m_socket != INVALID_SOCKET)
            closesocket(m_socket);
    }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    bool Ok() const { return m_port != 0; }
    unsigned short Port() const { return m_port; }
    SOCKET Socket() const { return m_socket; }

private:
    SOCKET m_socket = INVALID_SOCKET;
    unsigned short m_port = 0;
};
