// One table of hostile values, each sent through every door it can reach:
// the editor, Rimehold's import and frostpick-db import. Each door refuses it
// naming the table, the line (for files), the column, the text as found and
// the rule, and the store is left as it was.
#include "AdminTestBase.h"
#include "StoreCopy.h"
#include "StoreImport.h"
#include "TestDatabases.h"
#include "frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

enum Door { Editor = 1, Import = 2, Store = 4, Files = Import | Store, All = 7 };

struct Layout
{
    const char* table;
    const char* menu;
    QStringList rimehold; // the list's file: header, then the first row
    QStringList store;    // frostpick-db's file, keys included
};

// Valid rows of each table, as a ';' file holds them; a hostile text
// replaces a column of the first row.
const Layout Layouts[] = {
    {"power",
     "mOb",
     {"model;modification;out_t;in_t;power", "KMA;50;20;5;5910"},
     {"pkey;model;modification;in_t;out_t;power;fkey", "1;KMA;50;5;20;5910;1"}},
    {"Product",
     "mPr",
     {"group;text_ru;co;cz;cwr;tko;tnz;td0;td2;td5;td15", "Фрукты;Яблоки;0,9;0,47;67;-1,1;-3;0,01;0;0;0,045"},
     {"pkey;text_en;text_it;text_ru;co;cz;cwr;tko;tnz;td0;td2;td5;td15;fkey",
      "1;;;Яблоки;0,9;0,47;67;-1,1;-3;0,01;0;0;0,045;1"}},
    {"curtain", "mZn", {"text_ru;c_value", "Лента;50"}, {"Pkey;text_ru;c_value", "1;Лента;50"}},
};

// The rest of the capacity set, so that a file's set stays complete.
QStringList otherCapacities(bool withKeys)
{
    QStringList rows;
    for (int k = 1; k < 9; ++k) {
        const int in = 5 + 5 * (k / 3);
        const int out = QList<int>{20, 32, 43}.at(k % 3);
        rows << (withKeys ? QStringLiteral("%1;KMA;50;%2;%3;%4;1").arg(k + 1).arg(in).arg(out)
                          : QStringLiteral("KMA;50;%3;%2;%4").arg(in).arg(out))
                    .arg(6000 - 100 * k);
    }
    return rows;
}

// The editor's box of a column.
const char* boxOf(const QString& column)
{
    static const QHash<QString, const char*> boxes = {
        {"power", "Text9"}, {"in_t", "Text3"},    {"tko", "Text8"},         {"co", "Text5"},
        {"tnz", "Text9"},   {"c_value", "Text3"}, {"modification", "Text2"}};
    return boxes.value(column);
}

} // namespace

class TestValueRules : public AdminTestBase
{
    Q_OBJECT

    QString m_store; // frostpick-db's address of the store

    void addRows()
    {
        exec(QStringLiteral("INSERT INTO PGroup(text_ru) VALUES ('Фрукты')"));
        exec(QStringLiteral(
            "INSERT INTO equipment(text_ru,model,picture,scheme) VALUES ('Моноблок','KM','','')"));
        exec(QStringLiteral("INSERT INTO curtain(text_ru,c_value) VALUES ('Лента',50)"));
        m_store = TestDatabases::address(folder() + QStringLiteral("/nv.mdb")).database;
    }
    QStringList dump()
    {
        QStringList lines;
        for (const char* table : {"power", "Product", "curtain", "PGroup", "equipment"}) {
            const QueryTable t =
                rows(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(QLatin1String(table)));
            for (int r = 0; r < t.rowCount(); ++r)
                for (int c = 0; c < t.columnCount(); ++c)
                    lines << t.text(r, c);
        }
        return lines;
    }
    // The lines of a ';' file, as a ','-separated one if comma, with the
    // hostile texts in the first row.
    static QByteArray file(QStringList lines, const QHash<QString, QString>& texts = {}, bool comma = false)
    {
        const QChar separator = comma ? QLatin1Char(',') : QLatin1Char(';');
        for (QString& line : lines)
            if (comma)
                line.replace(QRegularExpression(QStringLiteral("(\\d),(\\d)")), QStringLiteral("\\1.\\2"))
                    .replace(QLatin1Char(';'), separator);
        const QStringList header = lines.at(0).split(separator);
        QStringList first = lines.at(1).split(separator);
        for (auto it = texts.cbegin(); it != texts.cend(); ++it)
            first[header.indexOf(it.key())] = comma ? QStringLiteral("\"%1\"").arg(it.value()) : it.value();
        lines[1] = first.join(separator);
        return lines.join(QStringLiteral("\r\n")).toUtf8();
    }
    void write(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    void importInRimehold(const char* menu, const QByteArray& bytes)
    {
        delete mainWindow()->listWindow();
        openList(menu);
        write(folder() + QStringLiteral("/list.csv"), bytes);
        m_messages.queueFileName(folder() + QStringLiteral("/list.csv"));
        mainWindow()->findChild<QAction*>(QStringLiteral("mCsvIn"))->trigger();
    }
    ToolOutcome importInStore(const QString& table, const QByteArray& bytes,
                              ImportOptions options = {true, false})
    {
        const QString csv = folder() + QStringLiteral("/csv");
        QDir(csv).removeRecursively();
        QDir().mkpath(csv);
        write(csv + QLatin1Char('/') + table + QStringLiteral(".csv"), bytes);
        return importStore(csv, m_store, options, [](const QString&) {});
    }

private slots:
    void init()
    {
        AdminTestBase::init();
        addRows();
        QVERIFY(importInStore(QStringLiteral("power"), file(Layouts[0].store + otherCapacities(true))).ok());
        QVERIFY(importInStore(QStringLiteral("Product"), file(Layouts[1].store)).ok());
    }

    void refusedAtEveryDoor_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("doors");
        QTest::addColumn<bool>("comma"); // a ','-separated file
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("problem");
        const QString notNumber = QStringLiteral("не число «%1»");
        const QString capacity = QStringLiteral("должно быть больше 0 и не больше 10000000 «%1»");
        QTest::newRow("thousands in a ',' file") << 0 << int(Files) << true << "power"
                                                 << "2,360" << notNumber.arg("2,360");
        QTest::newRow("grouped by a blank") << 0 << int(All) << false << "power"
                                            << "5 910" << notNumber.arg("5 910");
        QTest::newRow("grouped by a no-break space") << 0 << int(All) << false << "power"
                                                     << "5\u00A0910" << notNumber.arg("5<U+00A0>910");
        QTest::newRow("byte order mark") << 0 << int(Files) << false << "power"
                                         << QStringLiteral("\uFEFF5910") << notNumber.arg("<U+FEFF>5910");
        QTest::newRow("apostrophe") << 0 << int(All) << false << "power"
                                    << "1'000" << notNumber.arg("1'000");
        QTest::newRow("percent") << 1 << int(All) << false << "co"
                                 << "12%" << notNumber.arg("12%");
        QTest::newRow("Unicode minus") << 0 << int(All) << false << "in_t"
                                       << "\u22125" << notNumber.arg("<U+2212>5");
        QTest::newRow("two separators") << 0 << int(Files) << false << "power"
                                        << "5,910,5" << notNumber.arg("5,910,5");
        QTest::newRow("too small for a double") << 0 << int(Files) << false << "power"
                                                << "1e-400" << notNumber.arg("1e-400");
        QTest::newRow("capacity 1e308") << 0 << int(All) << false << "power"
                                        << "1e308" << capacity.arg("1e308");
        QTest::newRow("capacity 0") << 0 << int(All) << false << "power"
                                    << "0" << capacity.arg("0");
        QTest::newRow("capacity above 10 MW") << 0 << int(All) << false << "power"
                                              << "10000001" << capacity.arg("10000001");
        QTest::newRow("modification 50,5")
            << 0 << int(All) << false << "modification"
            << "50,5" << QStringLiteral("должно быть целым числом от 1 до 999 «50,5»");
        QTest::newRow("curtain 150") << 2 << int(All) << false << "c_value"
                                     << "150" << QStringLiteral("должно быть от 0 до 100 «150»");
        QTest::newRow("freezing upside down") << 1 << int(All) << false << "tko"
                                              << "-10" << QStringLiteral("должно быть больше tnz");
        QTest::newRow("tko = tnz") << 1 << int(All) << false << "tko"
                                   << "-3" << QStringLiteral("должно быть больше tnz");
        QTest::newRow("key 70000") << 1 << int(Store) << false << "pkey"
                                   << "70000"
                                   << QStringLiteral("должно быть целым числом от 1 до 32767 «70000»");
        QTest::newRow("key 0") << 2 << int(Store) << false << "Pkey"
                               << "0" << QStringLiteral("должно быть целым числом от 1 до 32767 «0»");
        QTest::newRow("key -1") << 0 << int(Store) << false << "pkey"
                                << "-1" << QStringLiteral("должно быть целым числом от 1 до 32767 «-1»");
        QTest::newRow("group key 1e15")
            << 1 << int(Store) << false << "fkey"
            << "1e15" << QStringLiteral("должно быть целым числом от 1 до 32767 «1e15»");
    }
    void refusedAtEveryDoor()
    {
        QFETCH(int, layout);
        QFETCH(int, doors);
        QFETCH(bool, comma);
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QString, problem);
        const Layout& l = Layouts[layout];
        const QString table = QLatin1String(l.table);
        const QStringList before = dump();
        const QString at = QStringLiteral("Строка 2, столбец «%1»: ").arg(column) + problem;
        if (doors & Editor) {
            QWidget* editor = filledEditor(openList(l.menu), l.menu);
            QVERIFY(editor);
            type(editor, boxOf(column), text);
            click(editor, "Command1");
            QVERIFY2(m_messages.lastText().contains(
                         QStringLiteral("Таблица %1, столбец «%2»: %3").arg(table, column, problem)),
                     qPrintable(m_messages.lastText()));
            QVERIFY(editor->isVisible());
            editor->close();
            QCOMPARE(dump(), before);
        }
        if (doors & Import) {
            importInRimehold(l.menu, file(l.rimehold, {{column, text}}, comma));
            QVERIFY2(m_messages.lastText().contains(at), qPrintable(m_messages.lastText()));
            QCOMPARE(m_messages.shown().last().buttons, MsgButtons::Ok);
            QCOMPARE(dump(), before);
        }
        if (doors & Store) {
            const QStringList lines = layout == 0 ? l.store + otherCapacities(true) : l.store;
            const ToolOutcome refused = importInStore(table, file(lines, {{column, text}}, comma));
            QCOMPARE(refused.status, StatusUsage);
            QVERIFY2(refused.message.contains(table + QStringLiteral(".csv: ") + at),
                     qPrintable(refused.message));
            QCOMPARE(dump(), before);
        }
    }
    // Files a door must read or refuse as a whole, named as such.
    void filesAsAWhole()
    {
        const QStringList before = dump();
        // Russian Excel's "CSV": Windows-1251, ';' and decimal commas.
        m_messages.queueAnswer(MsgAnswer::No);
        importInRimehold("mZn", QByteArray("text_ru;c_value\r\n\xCB\xE5\xED\xF2\xE0;12,5\r\n"));
        QVERIFY2(m_messages.lastText().contains(QStringLiteral("добавить 0, изменить 1, без изменений 0.\r\n"
                                                               "Кодировка файла: Windows-1251.")),
                 qPrintable(m_messages.lastText()));
        importInRimehold("mZn", QByteArray("text_ru\tc_value\r\nЛента\t50\r\n"));
        QVERIFY(m_messages.lastText().contains(QStringLiteral(
            "Строка 1: поля разделены табуляцией, а читаются файлы с разделителями «;» и «,»")));
        // Emptying a list is asked twice; No leaves it.
        m_messages.queueTick(true);
        m_messages.queueAnswer(MsgAnswer::Yes);
        m_messages.queueAnswer(MsgAnswer::No);
        importInRimehold("mZn", file({"text_ru;c_value", "Другая;10"}));
        QCOMPARE(m_messages.lastText(),
                 QStringLiteral("Файл «list.csv»: будут удалены все записи справочника (1). Удалить их?"));
        // A choice that cannot be loaded offers «OK» alone: the set would
        // lose a row.
        m_messages.queueTick(true);
        importInRimehold("mOb", file({Layouts[0].rimehold.at(0), Layouts[0].rimehold.at(1)}));
        QVERIFY(m_messages.lastText().contains(QStringLiteral("Файл загрузить нельзя")));
        QCOMPARE(m_messages.shown().last().buttons, MsgButtons::Ok);
        QCOMPARE(dump(), before);

        // frostpick-db: a file without rows empties its table only when asked.
        const QByteArray empty = file({Layouts[2].store.at(0), Layouts[2].store.at(1)}).left(22);
        ToolOutcome outcome = importInStore(QStringLiteral("curtain"), empty);
        QCOMPARE(outcome.status, StatusUsage);
        QVERIFY(outcome.message.contains(QStringLiteral("holds no rows")));
        QCOMPARE(dump(), before);
        // A row twice and a row of no type are named by their own lines.
        QStringList capacities = Layouts[0].store + otherCapacities(true);
        capacities[9].replace(QStringLiteral("9;KMA;50;15;43"), QStringLiteral("9;KMA;50;15;32"));
        outcome = importInStore(QStringLiteral("power"), file(capacities));
        QVERIFY2(
            outcome.message.contains(QStringLiteral("Строка 10, модель KMA050: производительность при 15 °C "
                                                    "в камере и 32 °C снаружи уже в строке 9.")),
            qPrintable(outcome.message));
        capacities = Layouts[0].store + otherCapacities(true);
        capacities[4].replace(QRegularExpression(QStringLiteral(";1$")), QStringLiteral(";7"));
        outcome = importInStore(QStringLiteral("power"), file(capacities));
        QVERIFY2(outcome.message.contains(
                     QStringLiteral("Строка 5, модель KMA050: нет типа оборудования с ключом 7.")),
                 qPrintable(outcome.message));
        QCOMPARE(dump(), before);
        QVERIFY(importInStore(QStringLiteral("curtain"), empty, {true, true}).ok());
        QCOMPARE(rows(QStringLiteral("SELECT COUNT(*) FROM curtain")).integer(0, 0), 0);
    }

    // A row changed by hand past the rules stops frostpick-db copy.
    void copyRefusesABrokenRow()
    {
        exec(QStringLiteral("UPDATE curtain SET c_value=150"));
        const QString to = folder() + QStringLiteral("/copy/nv.mdb");
        QDir().mkpath(folder() + QStringLiteral("/copy"));
        const ToolOutcome outcome = copyStore(m_store, to, {}, {[](const QString&) {}, {}});
        QCOMPARE(outcome.status, StatusUsage);
        QVERIFY2(outcome.message.contains(QStringLiteral(
                     "key 1 breaks a rule: Таблица curtain, столбец «c_value»: должно быть от 0 "
                     "до 100 «150»")),
                 qPrintable(outcome.message));
        QVERIFY(!QFile::exists(to));
    }
};

QTEST_MAIN(TestValueRules)
#include "test_valuerules.moc"
