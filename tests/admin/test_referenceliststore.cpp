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
// writes for each kind, and that a read that failed lists nothing that could
// be saved over.
class TestReferenceListStore : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeMessages m_messages;

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
    static qint32 insert(const QString& sql)
    {
        return Functions::ExecSql(sql) ? qint32(Functions::Connection()->lastInsertKey()) : -1;
    }
    static bool gone(const Result<void>& written)
    {
        return !written && Functions::RecordGone(written.failure());
    }
    // Takes the tables away: the reads fail, each says so once and gives no rows.
    void loseTables(const QStringList& tables, const std::function<int(QueryTable&)>& read)
    {
        for (const QString& table : tables)
            QVERIFY(Functions::ExecSql(QStringLiteral("ALTER TABLE %1 RENAME TO gone_%1").arg(table)));
        QueryTable rows;
        QCOMPARE(read(rows), -1);
        QCOMPARE(rows.rowCount(), 0);
        QCOMPARE(m_messages.texts().size(), 1);
        QVERIFY(m_messages.lastText().startsWith(QStringLiteral("Ошибка чтения базы данных\r\n")));
        m_messages.clear();
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
        QVERIFY(Functions::OpenDatabase(DataLocation::folder(m_dir->path())));
    }
    void cleanup()
    {
        Functions::CloseDatabase();
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
        const ReferenceListStore store(kind);
        const auto adding = EditRequest::add(static_cast<qint16>(kind));
        qint64 key = 0;
        QVERIFY(store.save(adding, {QStringLiteral("Я"), 0.5, 2, "KM", "p.jpg", "s.jpg"}, &key));
        QVERIFY(store.save(adding, {QStringLiteral("Б"), 0.5, 2, "KM", "p.jpg", "s.jpg"}, &key));
        QueryTable rows;
        QCOMPARE(Functions::FetchRows(check, rows) > 0 ? joined(rows) : QString(), added);
        QCOMPARE(store.entries(rows), 2);
        QCOMPARE(rows.integer(0, ReferenceListStore::EntryKey), key);
        QCOMPARE(rows.text(1, ReferenceListStore::EntryName), QStringLiteral("Я"));
        QVERIFY(store.entry(key, rows, QStringLiteral("Ошибка")));
        QCOMPARE(joined(rows), entry.replace(QStringLiteral("%1"), QString::number(key)));

        const auto changing = EditRequest::change(static_cast<qint16>(kind), static_cast<qint16>(key));
        const ReferenceListStore::Values values{QStringLiteral("В'"), 0.25, 3, "KS", "q'.jpg", "t.jpg"};
        QVERIFY(store.save(changing, values, nullptr));
        QCOMPARE(Functions::FetchRows(check, rows) > 0 ? joined(rows) : QString(), changed);
        QVERIFY(store.remove(key));
        QVERIFY(gone(store.remove(key)));
        QVERIFY(gone(store.save(changing, values, nullptr)));
        QVERIFY(!store.entry(key, rows, QStringLiteral("Ошибка")));
        QCOMPARE(m_messages.lastText(), QStringLiteral("Нарушена целостность БД!"));
        m_messages.clear();
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
        const ReferenceListStore store(kind);
        QueryTable rows;
        QCOMPARE(store.lowerEntries(first, rows), 2);
        QCOMPARE(rows.text(0, name) + rows.text(1, name), QStringLiteral("KMAKMB"));
        const bool products = kind == Functions::KindProduct;
        for (const bool wasGone : {false, true}) {
            const Result<void> removed =
                products ? store.removeProduct(rows.integer(0, ReferenceListStore::EntryKey))
                         : store.removeModel(first, QStringLiteral("KMA"), 100);
            QCOMPARE(removed.ok(), !wasGone);
            QCOMPARE(gone(removed), wasGone);
        }
        QCOMPARE(store.lowerEntries(first, rows), 1);
        QCOMPARE(rows.text(0, name), QStringLiteral("KMB"));
        QCOMPARE(store.lowerEntries(second, rows), 1);
        QCOMPARE(rows.text(0, name), QStringLiteral("KMA"));
        QCOMPARE(ReferenceListStore::series(second).value_or("-"),
                 products ? QString() : QStringLiteral("KS"));
        loseTables(
            {products ? QStringLiteral("Product") : QStringLiteral("power"), QStringLiteral("equipment")},
            [&](QueryTable& read) { return store.lowerEntries(first, read); });
        QVERIFY(!ReferenceListStore::series(first));
        QCOMPARE(m_messages.texts().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestReferenceListStore)
#include "test_referenceliststore.moc"
