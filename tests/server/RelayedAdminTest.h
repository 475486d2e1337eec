#pragma once

#include "AdminTestBase.h"
#include "FaultRelay.h"
#include "TestDatabases.h"

#include <QtTest>
#include <memory>

// The administrator's fixture with the network to the test server running
// through a relay that each test may make fail; it works again before each test.
class RelayedAdminTest : public AdminTestBase
{
    Q_OBJECT

protected:
    std::unique_ptr<FaultRelay> m_relay;

protected slots:
    void initTestCase()
    {
        QVERIFY(TestDatabases::storage() == TestDatabases::Storage::Server);
        m_relay = FaultRelay::toTestServer();
        QVERIFY(m_relay);
    }
    void init()
    {
        AdminTestBase::init();
        m_relay->restore();
    }
};
