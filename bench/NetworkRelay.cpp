#include "NetworkRelay.h"

#include <QByteArray>
#include <QtEndian>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <list>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
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

// Counts the requests in what a client sends to a PostgreSQL server: the
// messages it then waits on. Counting chunks instead would depend on timing,
// since a COMMIT sent without waiting can share a read with the request after
// it. Before the startup message come untyped messages (the TLS and GSS
// requests, each answered); after it, a request ends with a Sync (extended
// protocol, pipelined or not), a Query or a password. A TLS session cannot be
// read, so there each chunk counts, as a client that waits sends one.
class RequestCounter
{
public:
    // The requests completed by these bytes; those of them that commit a
    // transaction that wrote are added to commits (a read snapshot's end is
    // none).
    int take(const QByteArray& bytes, int& commits)
    {
        if (m_opaque)
            return 1;
        m_pending += bytes;
        int requests = 0;
        while (true) {
            if (m_expectTls && !m_pending.isEmpty() && m_pending.front() == '\x16') {
                m_opaque = true;
                return requests + 1;
            }
            const int header = m_typed ? 5 : 4;
            if (m_pending.size() < header)
                return requests;
            const char type = m_typed ? m_pending.front() : '\0';
            const quint32 length = qFromBigEndian<quint32>(m_pending.constData() + (m_typed ? 1 : 0));
            const qsizetype whole = qsizetype(length) + (m_typed ? 1 : 0);
            if (length < 4) {
                m_opaque = true; // not the protocol this counter knows
                return requests + 1;
            }
            if (m_pending.size() < whole)
                return requests;
            if (m_typed) {
                // A Query or Parse message's text follows its header (Parse:
                // after the statement's name).
                const char* text = m_pending.constData() + header;
                if (type == 'P')
                    text += qstrnlen(text, size_t(whole - header)) + 1;
                if ((type == 'Q' || type == 'P') && text < m_pending.constData() + whole) {
                    m_wrote = m_wrote || qstrncmp(text, "INSERT", 6) == 0 ||
                              qstrncmp(text, "UPDATE", 6) == 0 || qstrncmp(text, "DELETE", 6) == 0;
                    m_commit = m_commit || qstrncmp(text, "COMMIT", 6) == 0;
                }
                const bool ends = type == 'S' || type == 'Q' || type == 'p';
                requests += ends;
                commits += ends && m_commit && m_wrote;
                m_wrote = m_wrote && !(ends && m_commit);
                m_commit = m_commit && !ends;
            } else {
                const quint32 code = whole >= 8 ? qFromBigEndian<quint32>(m_pending.constData() + 4) : 0;
                m_expectTls = code == SslRequest;
                m_typed = code != SslRequest && code != GssRequest && code != CancelRequest;
                ++requests;
            }
            m_pending.remove(0, whole);
        }
    }

private:
    static constexpr quint32 SslRequest = 80877103;
    static constexpr quint32 GssRequest = 80877104;
    static constexpr quint32 CancelRequest = 80877102;
    QByteArray m_pending;
    bool m_typed = false;
    bool m_expectTls = false;
    bool m_opaque = false;
    bool m_commit = false; // the request read so far commits
    bool m_wrote = false;  // since the last commit
};

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
    RequestCounter requests;

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
    bool answerLost = false; // closed once the server answers

    ~Link()
    {
        ::close(up.from);
        ::close(up.to);
    }
    bool done() const { return failed || (up.finished && down.finished); }
};

int connectTo(const QString& host, quint16 port)
{
    sockaddr_storage address{};
    socklen_t length = 0;
    if (host.startsWith(QLatin1Char('/'))) {
        auto* local = reinterpret_cast<sockaddr_un*>(&address);
        const QByteArray path = QStringLiteral("%1/.s.PGSQL.%2").arg(host).arg(port).toLocal8Bit();
        if (size_t(path.size()) >= sizeof local->sun_path)
            return -1;
        local->sun_family = AF_UNIX;
        std::memcpy(local->sun_path, path.constData(), size_t(path.size()));
        length = sizeof(sockaddr_un);
    } else {
        auto* inet = reinterpret_cast<sockaddr_in*>(&address);
        inet->sin_family = AF_INET;
        inet->sin_port = htons(port);
        if (inet_pton(AF_INET, host.toLatin1().constData(), &inet->sin_addr) != 1)
            return -1;
        length = sizeof(sockaddr_in);
    }
    const int fd = ::socket(address.ss_family, SOCK_STREAM, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

NetworkRelay::NetworkRelay(QString serverHost, quint16 serverPort, std::chrono::microseconds oneWay)
    : m_serverHost(std::move(serverHost)), m_serverPort(serverPort), m_oneWay(oneWay)
{}

NetworkRelay::~NetworkRelay()
{
    if (m_thread.joinable()) {
        m_ending = true;
        wake();
        m_thread.join();
    }
    if (m_listener >= 0)
        ::close(m_listener);
    if (m_wake >= 0)
        ::close(m_wake);
}

bool NetworkRelay::start(QString* error)
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
    m_wake = ::eventfd(0, EFD_NONBLOCK);
    m_thread = std::thread([this] { relay(); });
    return true;
}

qint64 NetworkRelay::requestsBetween(std::chrono::nanoseconds from, std::chrono::nanoseconds to) const
{
    const std::lock_guard<std::mutex> lock(m_timesLock);
    qint64 count = 0;
    for (const Clock::time_point& t : m_requestTimes)
        count += t.time_since_epoch() >= from && t.time_since_epoch() <= to;
    return count;
}

bool NetworkRelay::settle()
{
    const quint64 ticket = ++m_settleAsked;
    wake();
    std::unique_lock<std::mutex> lock(m_settleLock);
    return m_settled.wait_for(lock, std::chrono::seconds(5), [&] { return m_settledUpTo >= ticket; });
}

bool NetworkRelay::settlePending(quint64 asked)
{
    const std::lock_guard<std::mutex> lock(m_settleLock);
    return m_settledUpTo < asked;
}

void NetworkRelay::settled(quint64 asked)
{
    {
        const std::lock_guard<std::mutex> lock(m_settleLock);
        if (m_settledUpTo >= asked)
            return;
        m_settledUpTo = asked;
    }
    m_settled.notify_all();
}

void NetworkRelay::fail(Fault fault, qint64 nthRequest)
{
    m_faultFromCommit = 0;
    m_faultFrom = m_requests.load() + nthRequest;
    m_fault = fault;
    ++m_faultSwitch;
    wake();
}

void NetworkRelay::failAtCommit(Fault fault)
{
    m_faultFrom = 0;
    m_faultFromCommit = m_commits.load() + 1;
    m_fault = fault;
    ++m_faultSwitch;
    wake();
}

void NetworkRelay::wake()
{
    const uint64_t one = 1;
    if (::write(m_wake, &one, sizeof one) != sizeof one)
        qWarning("relay: cannot wake the relay thread");
}

void NetworkRelay::relay()
{
    std::list<Link> links;
    const auto active = [this](Fault f) {
        return m_fault == f &&
               (m_faultFromCommit ? m_commits >= m_faultFromCommit : m_requests >= m_faultFrom);
    };
    const auto answerLost = [&] { return active(Fault::AnswerLost) || active(Fault::AnswerLostAway); };
    quint64 actedOn = 0; // the fault switch whose one-time act is done
    while (!m_ending) {
        const bool actsOnce = (active(Fault::Cut) || answerLost()) && actedOn != m_faultSwitch;
        if (actsOnce)
            actedOn = m_faultSwitch;
        if (active(Fault::Drop) || (actsOnce && active(Fault::Cut)))
            links.clear();
        for (Link& link : links)
            link.answerLost = link.answerLost || (actsOnce && answerLost());
        const bool stalled = active(Fault::Stall);
        std::vector<pollfd> watched{{m_wake, POLLIN, 0}, {m_listener, short(stalled ? 0 : POLLIN), 0}};
        std::vector<Direction*> owners{nullptr, nullptr};
        Clock::time_point next = Clock::time_point::max();
        for (Link& link : links) {
            for (Direction* d : {&link.up, &link.down}) {
                if (stalled)
                    continue;
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
        // Asked to settle, it looks at the sockets without waiting.
        const quint64 settling = m_settleAsked.load();
        const bool waitForever = next == Clock::time_point::max() && !settlePending(settling);
        if (::ppoll(watched.data(), watched.size(), waitForever ? nullptr : &wait, nullptr) < 0 &&
            errno != EINTR)
            return;
        if (watched[0].revents) {
            uint64_t count = 0;
            if (::read(m_wake, &count, sizeof count) < 0 && errno != EAGAIN)
                return;
            continue; // a fault switched: look again
        }
        const auto arrived = Clock::now();
        if (watched[1].revents & POLLIN) {
            const int client = ::accept(m_listener, nullptr, nullptr);
            const bool refused =
                active(Fault::Refuse) || active(Fault::Drop) || active(Fault::AnswerLostAway);
            const int server = client >= 0 && !refused ? connectTo(m_serverHost, m_serverPort) : -1;
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
            if (d->held.size() > before && d->isRequest) {
                int commits = 0;
                const int requests = d->requests.take(d->held.back().bytes, commits);
                m_commits += commits;
                m_requests += requests;
                const std::lock_guard<std::mutex> lock(m_timesLock);
                m_requestTimes.insert(m_requestTimes.end(), size_t(requests), arrived);
            }
        }
        settled(settling);
        // A request that began a stall, a drop or a cut is not passed on.
        if (active(Fault::Stall) || active(Fault::Drop) || (active(Fault::Cut) && actedOn != m_faultSwitch))
            continue;
        const auto passNow = Clock::now();
        for (Link& link : links)
            link.failed = link.failed || (link.answerLost && !link.down.held.empty()) ||
                          !link.up.pass(passNow) || !link.down.pass(passNow);
        links.remove_if([](const Link& link) { return link.done(); });
    }
}
