// Hostile texts in every customer field and the note of a saved
// calculation: each is stored and read back exactly, and no other row or
// column changes.
#include "CalculationRecord.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "FakeMessages.h"
#include "HostileTexts.h"
#include "Orders.h"
#include "QueryTable.h"
#include "TestDatabases.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Every row of both tables as text, for comparing before and after.
QStringList snapshot(Database& db)
{
    QStringList rows;
    for (const char* table : {"contact", "data"}) {
        QueryTable t;
        const int n = db.query(QStringLiteral("SELECT * FROM %1 ORDER BY pkey").arg(QLatin1String(table)), t);
        for (int r = 0; r < n; ++r) {
            QStringList cells;
            for (int c = 0; c < t.columnCount(); ++c)
                cells << t.text(r, c);
            rows << QLatin1String(table) + QLatin1Char(':') + cells.join(QChar(0x1f));
        }
    }
    return rows;
}

} // namespace

class TestHostileText : public QObject
{
    Q_OBJECT

private slots:
    void customerFieldsAndNote();
};

void TestHostileText::customerFieldsAndNote()
{
    QTemporaryDir dir;
    QVERIFY(TestDatabases::createSampleFolder(dir.path()));
    FakeMessages messages;
    CalculationRecord r;
    QCOMPARE(OpenDatabases(r, dir.path()), 0);
    ApplyStartValues(r);

    QString CalculationRecord::*const fields[] = {
        &CalculationRecord::contact_organization, &CalculationRecord::contact_city,
        &CalculationRecord::contact_phones,       &CalculationRecord::contact_email,
        &CalculationRecord::contact_name,         &CalculationRecord::onote};
    const char* const columns[] = {"organization", "city", "phones", "email", "name", "onote"};

    int tried = 0, survived = 0;
    for (const QString& text : HostileTexts::all()) {
        for (int f = 0; f < 6; ++f) {
            ++tried;
            const QStringList before = snapshot(*r.order_db);
            r.contact_organization = QStringLiteral("Организация");
            r.contact_city = r.contact_phones = r.contact_email = r.contact_name = QStringLiteral("x");
            r.onote = QStringLiteral("*");
            r.*fields[f] = text;
            r.contact = 0; // a customer not in the list yet
            r.NewContact = true;
            r.NewCalculation = true;
            QVERIFY(SaveCalculation(r, QDate(2026, 12, 6)));
            const qint64 dataKey = r.order_db->lastInsertKey();

            const QString table = f == 5 ? QStringLiteral("data") : QStringLiteral("contact");
            const qint64 key = f == 5 ? dataKey : r.contact;
            QueryTable back;
            QCOMPARE(r.order_db->query(QStringLiteral("SELECT %1 FROM %2 WHERE pkey=%3")
                                           .arg(QLatin1String(columns[f]), table)
                                           .arg(key),
                                       back),
                     1);
            // An empty text may come back as an empty value: both read as "".
            QCOMPARE(back.text(0, 0), text.isNull() ? QString() : text);

            // Nothing else changed: the earlier rows are all still there as
            // they were (the customer row's texts other than this field are
            // the plain ones).
            const QStringList after = snapshot(*r.order_db);
            for (const QString& row : before)
                QVERIFY2(after.contains(row), qPrintable(QStringLiteral("changed: ") + row.left(200)));
            QCOMPARE(after.size(), before.size() + 2);
            ++survived;
        }
    }
    QVERIFY(messages.shown().isEmpty());
    qInfo("hostile texts tried: %d, survived: %d", tried, survived);
}

QTEST_GUILESS_MAIN(TestHostileText)
#include "test_hostiletext.moc"
