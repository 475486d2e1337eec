#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <thread>

// A TCP relay on 127.0.0.1 in a thread of its own: every chunk read from one
// side is written to the other only after it was held for a fixed time, in
// each direction. Put between a client and a server on this computer, it adds
// twice that time to every round trip, as a network would, while bytes that
// follow each other still flow at full speed.
class DelayRelay
{
public:
    DelayRelay(QString serverHost, quint16 serverPort, std::chrono::microseconds oneWay);
    ~DelayRelay();
    DelayRelay(const DelayRelay&) = delete;
    DelayRelay& operator=(const DelayRelay&) = delete;

    // Listens on a free port of 127.0.0.1 and starts relaying.
    bool start(QString* error);
    quint16 port() const { return m_port; }
    // Chunks the clients sent so far. A client that waits for each answer
    // sends one per round trip.
    qint64 requests() const { return m_requests.load(); }

private:
    void relay();

    QString m_serverHost;
    quint16 m_serverPort;
    std::chrono::microseconds m_oneWay;
    int m_listener = -1;
    int m_wake = -1; // an eventfd that ends the thread
    quint16 m_port = 0;
    std::atomic<qint64> m_requests{0};
    std::thread m_thread;
};
