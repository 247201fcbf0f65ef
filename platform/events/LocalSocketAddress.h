// The address of a local socket by its path. A socket address holds at most 107 bytes of path, so
// a longer one (a deep runtime or temporary folder) is reached through the process's own handle
// on the socket's folder, "/proc/self/fd/N/name": the same file, under the folder's own modes.
#pragma once

#include <QString>

#include <sys/socket.h>
#include <sys/un.h>

class LocalSocketAddress {
public:
    explicit LocalSocketAddress(const QString& path);
    ~LocalSocketAddress();
    LocalSocketAddress(const LocalSocketAddress&) = delete;
    LocalSocketAddress& operator=(const LocalSocketAddress&) = delete;

    // False when the path is empty or its folder cannot be opened.
    bool isValid() const { return m_valid; }
    const sockaddr* address() const { return reinterpret_cast<const sockaddr*>(&m_address); }
    socklen_t size() const { return sizeof(m_address); }

private:
    sockaddr_un m_address {};
    int m_folderFd = -1;
    bool m_valid = false;
};
