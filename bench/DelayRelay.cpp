#include "DelayRelay.h"

#include <QByteArray>
#include <arpa/inet.h>
#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <list>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void makeNonBlocking(int fd)
{
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    const int on = 1;
    // Small messages go out at once, as the client and the server expect.
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

struct Chunk
{
    Clock::time_point due;
    QByteArray bytes;
    qsizetype sent = 0;
};

// Bytes on their way from one socket to the other.
struct Direction
{
    int from;
    int to;
    std::deque<Chunk> held;
    bool ended = false;     // the sender closed its side
    bool blocked = false;   // the receiver's buffer is full
    bool finished = false;  // everything passed on and the end forwarded
    bool isRequest = false; // from the client

    // Reads what has arrived; false when the connection failed.
    bool take(Clock::time_point now, std::chrono::microseconds delay)
    {
        char buffer[65536];
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n > 0)
            held.push_back({now + delay, QByteArray(buffer, n), 0});
        else if (n == 0)
            ended = true;
        return n >= 0 || errno == EAGAIN || errno == EINTR;
    }

    // Writes every chunk that is due; false when the connection failed.
    bool pass(Clock::time_point now)
    {
        blocked = false;
        while (!held.empty() && held.front().due <= now) {
            Chunk& c = held.front();
            const ssize_t n =
                ::send(to, c.bytes.constData() + c.sent, size_t(c.bytes.size() - c.sent), MSG_NOSIGNAL);
            if (n < 0) {
                blocked = errno == EAGAIN;
                return blocked || errno == EINTR;
            }
            c.sent += n;
            if (c.sent == c.bytes.size())
                held.pop_front();
        }
        if (ended && held.empty() && !finished) {
            ::shutdown(to, SHUT_WR);
            finished = true;
        }
        return true;
    }
};

struct Link
{
    Direction up;   // client to server
    Direction down; // server to client
    bool failed = false;

    ~Link()
    {
        ::close(up.from);
        ::close(up.to);
    }
    bool done() const { return failed || (up.finished && down.finished); }
};

int connectTo(const QString& host, quint16 port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (inet_pton(AF_INET, host.toLatin1().constData(), &address.sin_addr) != 1)
        return -1;
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

DelayRelay::DelayRelay(QString serverHost, quint16 serverPort, std::chrono::microseconds oneWay)
    : m_serverHost(std::move(serverHost)), m_serverPort(serverPort), m_oneWay(oneWay)
{}

DelayRelay::~DelayRelay()
{
    if (m_thread.joinable()) {
        const uint64_t one = 1;
        if (::write(m_wake, &one, sizeof one) == sizeof one)
            m_thread.join();
        else
            m_thread.detach();
    }
    if (m_listener >= 0)
        ::close(m_listener);
    if (m_wake >= 0)
        ::close(m_wake);
}

bool DelayRelay::start(QString* error)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(m_listener, 16) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        *error = QStringLiteral("relay: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    m_port = ntohs(address.sin_port);
    m_wake = ::eventfd(0, 0);
    m_thread = std::thread([this] { relay(); });
    return true;
}

void DelayRelay::relay()
{
    std::list<Link> links;
    for (;;) {
        std::vector<pollfd> watched{{m_wake, POLLIN, 0}, {m_listener, POLLIN, 0}};
        std::vector<Direction*> owners{nullptr, nullptr};
        Clock::time_point next = Clock::time_point::max();
        for (Link& link : links) {
            for (Direction* d : {&link.up, &link.down}) {
                if (!d->ended) {
                    watched.push_back({d->from, POLLIN, 0});
                    owners.push_back(d);
                }
                if (d->blocked) {
                    watched.push_back({d->to, POLLOUT, 0});
                    owners.push_back(d);
                } else if (!d->held.empty()) {
                    next = std::min(next, d->held.front().due);
                }
            }
        }
        timespec wait{};
        const auto now = Clock::now();
        if (next != Clock::time_point::max() && next > now) {
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(next - now).count();
            wait = {time_t(ns / 1000000000), long(ns % 1000000000)};
        }
        const bool waitForever = next == Clock::time_point::max();
        if (::ppoll(watched.data(), watched.size(), waitForever ? nullptr : &wait, nullptr) < 0 &&
            errno != EINTR)
            return;
        if (watched[0].revents)
            return;
        const auto arrived = Clock::now();
        if (watched[1].revents & POLLIN) {
            const int client = ::accept(m_listener, nullptr, nullptr);
            const int server = client >= 0 ? connectTo(m_serverHost, m_serverPort) : -1;
            if (server >= 0) {
                makeNonBlocking(client);
                makeNonBlocking(server);
                links.emplace_back();
                links.back().up.from = links.back().down.to = client;
                links.back().up.to = links.back().down.from = server;
                links.back().up.isRequest = true;
            } else if (client >= 0) {
                ::close(client);
            }
        }
        for (size_t i = 2; i < watched.size(); ++i) {
            Direction* d = owners[i];
            if (!(watched[i].revents & (POLLIN | POLLHUP | POLLERR)) || watched[i].fd != d->from || d->ended)
                continue;
            const size_t before = d->held.size();
            if (!d->take(arrived, m_oneWay))
                d->ended = true;
            if (d->held.size() > before && d->isRequest)
                ++m_requests;
        }
        const auto passNow = Clock::now();
        for (Link& link : links)
            link.failed = link.failed || !link.up.pass(passNow) || !link.down.pass(passNow);
        links.remove_if([](const Link& link) { return link.done(); });
    }
}
