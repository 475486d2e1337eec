#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

// A TCP relay on 127.0.0.1 in a thread of its own, between the programs and a
// server: what one side sends reaches the other, optionally held for a fixed
// time in each direction as a network would, until a fault is switched on.
// A fault can begin at once or at a chosen request of the clients (a message
// a client then waits on: one per round trip, and one for a COMMIT sent
// without waiting), so that an action meets the outage before, during or after
// its reads; restore() brings the network back for the next try.
class NetworkRelay
{
public:
    enum class Fault {
        None,
        Refuse, // new connections are closed at once; open ones go on
        Stall,  // nothing moves and nobody new is let in; every socket stays open
        Drop,   // every open connection is closed and new ones are refused
        // The request reaches the server, whose answer is lost: every open
        // connection is closed once the server answers. New connections are
        // let in, or with AnswerLostAway refused.
        AnswerLost,
        AnswerLostAway,
        Cut, // every open connection is closed, new ones are let in
    };

    // The server is an IPv4 address or the folder of its Unix socket.
    NetworkRelay(QString serverHost, quint16 serverPort, std::chrono::microseconds oneWay = {});
    ~NetworkRelay();
    NetworkRelay(const NetworkRelay&) = delete;
    NetworkRelay& operator=(const NetworkRelay&) = delete;

    // Listens on a free port of 127.0.0.1 and starts relaying.
    bool start(QString* error);
    quint16 port() const { return m_port; }
    qint64 requests() const { return m_requests.load(); }
    // Returns once the relay has read what the clients had sent when it was
    // called, such as a COMMIT a client sent without waiting for its answer;
    // false when the relay did not get to it within a few seconds.
    bool settle();
    // The requests that arrived between two times of the steady clock
    // (CLOCK_MONOTONIC, the same in every process), both included.
    qint64 requestsBetween(std::chrono::nanoseconds from, std::chrono::nanoseconds to) const;

    // The fault begins with the nth request from now (that request is not
    // relayed), or at once for 0.
    void fail(Fault fault, qint64 nthRequest = 0);
    void restore() { fail(Fault::None); }
    // The fault begins with the next request that commits a transaction that
    // wrote.
    void failAtCommit(Fault fault);

private:
    void relay();
    void wake();
    bool settlePending(quint64 asked);
    void settled(quint64 asked);

    QString m_serverHost;
    quint16 m_serverPort;
    std::chrono::microseconds m_oneWay;
    int m_listener = -1;
    int m_wake = -1; // an eventfd: a fault switched or the end
    quint16 m_port = 0;
    std::atomic<qint64> m_requests{0};
    mutable std::mutex m_timesLock;
    std::vector<std::chrono::steady_clock::time_point> m_requestTimes;
    std::atomic<Fault> m_fault{Fault::None};
    std::atomic<qint64> m_faultFrom{0}; // the request count at which the fault begins
    std::atomic<qint64> m_commits{0};
    std::atomic<qint64> m_faultFromCommit{0}; // the commit count at which it begins, when not 0
    // Bumped by each fault switched on: the faults that act once on the
    // connections open then (Cut, AnswerLost) act once per switch.
    std::atomic<quint64> m_faultSwitch{0};
    std::atomic<bool> m_ending{false};
    std::atomic<quint64> m_settleAsked{0};
    quint64 m_settledUpTo = 0; // under m_settleLock
    std::mutex m_settleLock;
    std::condition_variable m_settled;
    std::thread m_thread;
};
