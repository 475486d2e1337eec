#include "AdminSession.h"
#include "DataLocation.h"
#include "EditRequest.h"
#include "FakeMessages.h"
#include "Functions.h"
#include "ReferenceListStore.h"
#include "TestDatabases.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// The statements of the list windows, without a window: what each reads and
// writes for each kind, and that a read that failed gives its failure and
// lists nothing that could be saved over.
class TestReferenceListStore : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeMessages m_messages;
    AdminSession m_session;

    // A query's rows, cells joined by '|' and rows by ';'.
    static QString joined(const QueryTable& rows)
    {
        QStringList lines;
        for (int r = 0; r < rows.rowCount(); ++r) {
            lines << QString();
            for (int c = 0; c < rows.columnCount(); ++c)
                lines.last() += (c ? QStringLiteral("|") : QString()) + rows.text(r, c);
        }
        return lines.join(QLatin1Char(';'));
    }
    qint32 insert(const QString& sql)
    {
        return m_session.execSql(sql) ? qint32(m_session.connection()->lastInsertKey()) : -1;
    }
    QString stored(const QString& sql)
    {
        QueryTable rows;
        return m_session.query(sql, rows).valueOr(0) > 0 ? joined(rows) : QString();
    }
    static bool gone(const Result<void>& written)
    {
        return !written && Functions::RecordGone(written.failure());
    }
    // Takes the tables away, then the connection: the reads give their
    // failure, show nothing and give no rows.
    void loseTables(const QStringList& tables, const std::function<Result<int>(QueryTable&)>& read)
    {
        for (const QString& table : tables)
            QVERIFY(m_session.execSql(QStringLiteral("ALTER TABLE %1 RENAME TO gone_%1").arg(table)));
        for (const bool open : {true, false}) {
            if (!open)
                m_session.close();
            QueryTable rows;
            const Result<int> failed = read(rows);
            QVERIFY(!failed);
            QCOMPARE(failed.failure().fromEngine(), open);
            QCOMPARE(rows.rowCount(), 0);
        }
        QVERIFY(m_messages.texts().isEmpty());
    }
    static void row(const char* name, int kind, const char* table, const char* added, const char* changed,
                    const char* entry)
    {
        QTest::newRow(name) << kind << QString::fromUtf8(table) << QString::fromUtf8(added)
                            << QString::fromUtf8(changed) << QString::fromUtf8(entry);
    }

private slots:
    void init()
    {
        m_messages.clear();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(TestDatabases::createEmptyReference(QDir(m_dir->path()).filePath(QStringLiteral("nv.mdb"))));
        QVERIFY(m_session.open(DataLocation::folder(m_dir->path())));
    }
    void cleanup()
    {
        m_session.close();
        m_dir.reset();
        m_messages.checkSeen();
    }

    void addChangeRemove_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("table"); // and the columns stored, read by name
        QTest::addColumn<QString>("added");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("entry"); // what the editor reads, %1 the key
        // Insulation shares its table with other classes: "А" is not one.
        row("insulation", 1, "article s_name,s_value,cls_n", "А|1|2;Б|0.5|1;Я|0.5|1",
            "А|1|2;В'|0.25|1;Я|0.5|1", "Б|%1|0.5");
        row("curtain", 2, "curtain text_ru,c_value", "Б|0.5;Я|0.5", "В'|0.25;Я|0.5", "Б|%1|0.5");
        row("packing", 4, "packing text_ru,mass,thermal", "Б|0.5|2;Я|0.5|2", "В'|0.25|3;Я|0.5|2", "Б|2|0.5");
        row("product group", 3, "PGroup text_ru", "Б;Я", "В';Я", "Б|%1");
        row("equipment type", 5, "equipment text_ru,model,picture,scheme",
            "Б|KM|p.jpg|s.jpg;Я|KM|p.jpg|s.jpg", "В'|KS|q'.jpg|t.jpg;Я|KM|p.jpg|s.jpg",
            "Б|%1|KM|p.jpg|s.jpg");
    }
    void addChangeRemove()
    {
        QFETCH(int, kind);
        QFETCH(QString, table);
        QFETCH(QString, added);
        QFETCH(QString, changed);
        QFETCH(QString, entry);
        insert(QStringLiteral("INSERT INTO article(s_name,s_value,cls_n) VALUES ('А',1,2)"));
        const QString check = QStringLiteral("SELECT %2 FROM %1 ORDER BY 1")
                                  .arg(table.section(' ', 0, 0), table.section(' ', 1));
        const ReferenceListStore store(m_session, kind);
        const auto adding = EditRequest::add(static_cast<qint16>(kind));
        qint64 key = 0;
        QVERIFY(store.save(adding, {QStringLiteral("Я"), 0.5, 2, "KM", "p.jpg", "s.jpg"}, &key));
        QVERIFY(store.save(adding, {QStringLiteral("Б"), 0.5, 2, "KM", "p.jpg", "s.jpg"}, &key));
        QCOMPARE(stored(check), added);
        QueryTable rows;
        QCOMPARE(store.entries(rows).valueOr(-1), 2);
        QCOMPARE(rows.integer(0, ReferenceListStore::EntryKey), key);
        QCOMPARE(rows.text(1, ReferenceListStore::EntryName), QStringLiteral("Я"));
        QCOMPARE(store.entry(key, rows).valueOr(-1), 1);
        QCOMPARE(joined(rows), entry.replace(QStringLiteral("%1"), QString::number(key)));

        const auto changing = EditRequest::change(static_cast<qint16>(kind), static_cast<qint16>(key));
        const ReferenceListStore::Values values{QStringLiteral("В'"), 0.25, 3, "KS", "q'.jpg", "t.jpg"};
        QVERIFY(store.save(changing, values, nullptr));
        QCOMPARE(stored(check), changed);
        QVERIFY(store.remove(key));
        QVERIFY(gone(store.remove(key)));
        QVERIFY(gone(store.save(changing, values, nullptr)));
        QCOMPARE(store.entry(key, rows).valueOr(-1), 0);
        loseTables({table.section(' ', 0, 0)}, [&](QueryTable& read) { return store.entries(read); });
    }

    // A group's products or a type's models, and the type's model series.
    void lowerEntriesKeepToTheirParent_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("parent"); // a group or type named and modelled %1
        QTest::addColumn<QString>("child");  // an entry %2 under the parent's key %1
        QTest::addColumn<int>("name");       // the entries' column that names them
        QTest::newRow("products") << 3 << "INSERT INTO PGroup(text_ru) VALUES ('%1')"
                                  << "INSERT INTO Product(text_ru,co,cz,cwr,tko,tnz,td0,td2,td5,td15,fkey) "
                                     "VALUES ('%2',1,1,1,1,1,1,1,1,1,%1)"
                                  << int(ReferenceListStore::EntryName);
        QTest::newRow("unit models") << 5
                                     << "INSERT INTO equipment(text_ru,model,picture,scheme) VALUES "
                                        "('%1','%1','','')"
                                     << "INSERT INTO power(model,modification,in_t,out_t,power,fkey) VALUES "
                                        "('%2',100,0,20,1000,%1)"
                                     << int(ReferenceListStore::ListedModel);
    }
    void lowerEntriesKeepToTheirParent()
    {
        QFETCH(int, kind);
        QFETCH(QString, parent);
        QFETCH(QString, child);
        QFETCH(int, name);
        const qint32 first = insert(parent.arg(QStringLiteral("KMC")));
        const qint32 second = insert(parent.arg(QStringLiteral("KSC")));
        for (const auto& [key, entry] : {std::pair{first, "KMB"}, {first, "KMA"}, {second, "KMA"}})
            insert(child.arg(key).arg(QLatin1String(entry)));
        const ReferenceListStore store(m_session, kind);
        QueryTable rows;
        QCOMPARE(store.lowerEntries(first, rows).valueOr(-1), 2);
        QCOMPARE(rows.text(0, name) + rows.text(1, name), QStringLiteral("KMAKMB"));
        const bool products = kind == Functions::KindProduct;
        for (const bool wasGone : {false, true}) {
            const Result<void> removed =
                products ? store.removeProduct(rows.integer(0, ReferenceListStore::EntryKey))
                         : store.removeModel(first, QStringLiteral("KMA"), 100);
            QCOMPARE(removed.ok(), !wasGone);
            QCOMPARE(gone(removed), wasGone);
        }
        QCOMPARE(store.lowerEntries(first, rows).valueOr(-1), 1);
        QCOMPARE(rows.text(0, name), QStringLiteral("KMB"));
        QCOMPARE(store.lowerEntries(second, rows).valueOr(-1), 1);
        QCOMPARE(rows.text(0, name), QStringLiteral("KMA"));
        QCOMPARE(store.series(second).valueOr("-"), products ? QString() : QStringLiteral("KS"));
        loseTables(
            {products ? QStringLiteral("Product") : QStringLiteral("power"), QStringLiteral("equipment")},
            [&](QueryTable& read) { return store.lowerEntries(first, read); });
        QVERIFY(!store.series(first));
    }
};

QTEST_GUILESS_MAIN(TestReferenceListStore)
#include "test_referenceliststore.moc"
