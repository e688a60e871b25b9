// A sound server that answers the start of each conversation and then falls silent: a
// socket in front of a real server that passes on everything its clients send, but only
// the first few replies of each connection.
#pragma once

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace audiotest {

class SilentServerProxy {
public:
    // Listens on listenPath; each connection goes on to the server at serverPath, and the
    // server's packets after the first `replies` are dropped.
    SilentServerProxy(const std::string& listenPath, std::string serverPath, int replies)
        : m_serverPath(std::move(serverPath)), m_replies(replies) {
        m_listener = Socket();
        sockaddr_un address = Address(listenPath);
        if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(m_listener, 16) != 0)
            return;
        m_thread = std::thread([this] { Run(); });
    }
    ~SilentServerProxy() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        for (auto& link : m_links) {
            close(link.client);
            close(link.server);
        }
        close(m_listener);
    }

private:
    struct Link {
        int client;
        int server;
        std::string pending; // the server's bytes not yet cut into packets
        int forwarded = 0;
    };

    static int Socket() { return socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0); }
    static sockaddr_un Address(const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        return address;
    }

    void Run() {
        while (!m_stop) {
            std::vector<pollfd> fds{{m_listener, POLLIN, 0}};
            for (const auto& link : m_links) {
                fds.push_back({link.client, POLLIN, 0});
                fds.push_back({link.server, POLLIN, 0});
            }
            if (poll(fds.data(), fds.size(), 50) <= 0)
                continue;
            for (size_t i = 0; i < m_links.size(); ++i) {
                Link& link = m_links[i];
                const bool open = (!(fds[2 * i + 1].revents & (POLLIN | POLLHUP)) ||
                                   Pass(link.client, link.server)) &&
                                  (!(fds[2 * i + 2].revents & (POLLIN | POLLHUP)) || Reply(link));
                if (!open) {
                    close(link.client);
                    close(link.server);
                    link.client = link.server = -1;
                }
            }
            std::erase_if(m_links, [](const Link& link) { return link.client < 0; });
            if (fds[0].revents & POLLIN)
                Accept();
        }
    }

    void Accept() {
        const int client = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        const int server = Socket();
        sockaddr_un address = Address(m_serverPath);
        if (client < 0 || connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address)) {
            close(client);
            close(server);
            return;
        }
        m_links.push_back({client, server, {}, 0});
    }

    // False once the sender has closed its end.
    static bool Pass(int from, int to) {
        char buffer[65536];
        const ssize_t n = read(from, buffer, sizeof buffer);
        if (n > 0)
            (void)!write(to, buffer, static_cast<size_t>(n));
        return n > 0;
    }

    // A packet is a 20-byte descriptor, whose first word is the payload's length, and
    // the payload.
    bool Reply(Link& link) {
        char buffer[65536];
        const ssize_t n = read(link.server, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        link.pending.append(buffer, static_cast<size_t>(n));
        while (link.pending.size() >= 20) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(link.pending.data());
            const size_t length = 20 + (uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 |
                                        uint32_t(bytes[2]) << 8 | uint32_t(bytes[3]));
            if (link.pending.size() < length)
                break;
            if (link.forwarded++ < m_replies)
                (void)!write(link.client, link.pending.data(), length);
            link.pending.erase(0, length);
        }
        return true;
    }

    std::string m_serverPath;
    int m_replies;
    int m_listener = -1;
    std::vector<Link> m_links;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace audiotest
