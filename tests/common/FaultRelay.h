#pragma once

#include "Database.h"
#include "NetworkRelay.h"

#include <memory>

// The test kit's fault injector: the benchmark's relay in front of the test
// server (FROSTPICK_TEST_SERVER), so that a test can refuse, stall or drop
// the connections of whatever it points at the relay, at a chosen request,
// and let them through again.
class FaultRelay : public NetworkRelay
{
public:
    using NetworkRelay::NetworkRelay;

    // A relay to the test server's trusted socket, started; null (with a
    // warning) when there is no test server or the relay cannot start.
    static std::unique_ptr<FaultRelay> toTestServer();
    // The same store reached through the relay.
    DatabaseAddress through(const DatabaseAddress& address) const;
    // Points the server stores named in folder's frostpick.ini at the relay,
    // so every program started on that folder goes through it.
    bool divert(const QString& folder) const;
};
