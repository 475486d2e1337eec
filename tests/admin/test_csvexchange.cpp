#include "AdminTestBase.h"
#include "CsvCapacityLayout.h"
#include "CsvImport.h"
#include "CsvListLayouts.h"
#include "Functions.h"
#include "TestDatabases.h"
#include "frmEqEdit.h"
#include "frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QTest>

// Reference lists to and from spreadsheet files: the sample's capacity table
// of KM out and back in as a spreadsheet saves it, a file with a mistake
// refused whole, products written by a spreadsheet in either locale.
class TestCsvExchange : public AdminTestBase
{
    Q_OBJECT
private:
    QString m_path;

    void openKmCapacities()
    {
        QFile sample(TestDatabases::dataFile(QStringLiteral("sample_nv.sql")));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        for (const QString& statement : QString::fromUtf8(sample.readAll()).split(QStringLiteral(";\n")))
            if (statement.contains(QLatin1String("INSERT INTO")) && !statement.contains(QLatin1String("gas")))
                exec(statement);
        auto* types = openList("mOb")->findChild<QComboBox*>(QStringLiteral("Combo1"));
        types->setCurrentIndex(types->findText(QStringLiteral("Моноблок среднетемпературный KM")));
        m_path = folder() + QStringLiteral("/km.csv");
        m_messages.queueFileName(m_path);
        trigger("mCsvOut");
    }
    void trigger(const char* action) { mainWindow()->findChild<QAction*>(QLatin1String(action))->trigger(); }
    QByteArray file() const
    {
        QFile f(m_path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void importFile(const QByteArray& bytes)
    {
        QFile f(m_path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        m_messages.queueFileName(m_path);
        trigger("mCsvIn");
    }
    QString capacities()
    {
        const QueryTable table =
            rows(QStringLiteral("SELECT model,modification,in_t,out_t,power,fkey FROM power "
                                "ORDER BY model,modification,in_t,out_t"));
        QStringList all;
        for (int r = 0; r < table.rowCount(); ++r)
            for (int c = 0; c < 6; ++c)
                all << table.text(r, c);
        return all.join(QLatin1Char(' '));
    }

private slots:
    void capacityTableBackFromASpreadsheet()
    {
        openKmCapacities();
        QByteArray bytes = file();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBFmodel;modification;out_t;in_t;power\r\nKMA;20;20;5;"));
        QVERIFY(bytes.contains("\r\nKMA;50;20;5;5910\r\n"));
        const qint64 kept = rows(QStringLiteral("SELECT COUNT(*) FROM power WHERE fkey=1")).integer(0, 0) - 1;
        m_messages.queueAnswer(MsgAnswer::Yes);
        importFile(bytes.replace("\r\nKMA;50;20;5;5910\r\n", "\r\nKMA;50;20;5;5920,5\r\n"));
        QCOMPARE(m_messages.lastText(),
                 QStringLiteral("Файл «km.csv»: добавить 0, изменить 1, без изменений %1.\r\nЗагрузить?")
                     .arg(kept));
        QCOMPARE(
            rows(QStringLiteral("SELECT power FROM power WHERE model='KMA' AND modification=50 AND in_t=5 "
                                "AND out_t=20"))
                .number(0, 0),
            5920.5);
    }

    // A set typed into its editor and the same set loaded from a file are
    // stored as the same rows: cell k of the grid at chamber k / 3, outside
    // k % 3.
    void editorAndImportStoreOneSetAlike()
    {
        exec(QStringLiteral("INSERT INTO equipment(text_ru,model,picture,scheme) VALUES ('Тип','KM','','')"));
        QWidget* editor = openEditor<frmEqEdit>(openList("mOb"), "cmbAdd");
        QVERIFY(editor);
        QByteArray bytes = "model;modification;out_t;in_t;power\r\n";
        for (int i = 0; i < 3; ++i) // the chamber temperatures of class A
            type(editor, QStringLiteral("Text%1").arg(3 + i).toLatin1().constData(),
                 QString::number(5 + 5 * i));
        for (int k = 0; k < 9; ++k) {
            type(editor, QStringLiteral("Text%1").arg(9 + k).toLatin1().constData(),
                 QString::number(1100 + k));
            bytes += QStringLiteral("KMA;100;%1;%2;%3\r\n")
                         .arg(QStringList{"20", "32", "43"}.at(k % 3), QString::number(5 + 5 * (k / 3)))
                         .arg(1100 + k)
                         .toLatin1();
        }
        click(editor, "Command1");
        QVERIFY(!shownEditor<frmEqEdit>());
        const QString edited = capacities();
        QCOMPARE(rows(QStringLiteral("SELECT power FROM power WHERE in_t=5 AND out_t=43")).number(0, 0),
                 1102.0);
        exec(QStringLiteral("DELETE FROM power"));
        m_path = folder() + QStringLiteral("/set.csv");
        m_messages.queueAnswer(MsgAnswer::Yes);
        importFile(bytes);
        QVERIFY(m_messages.lastText().startsWith(QStringLiteral("Файл «set.csv»: добавить 9, изменить 0,")));
        QCOMPARE(capacities(), edited);
    }

    // All rows or none: a row another administrator deleted meanwhile fails
    // the import and leaves the rows written before it as they were.
    void importIsOneChange()
    {
        openKmCapacities();
        QByteArray bytes = file();
        bytes.replace("\r\nKMA;50;20;5;5910", "\r\nKMA;50;20;5;5911")
            .replace("\r\nKMA;50;32;5;", "\r\nKMA;50;32;5;1");
        const CsvCapacityLayout layout(session(), 1);
        const CsvImport import(session(), layout, bytes);
        QCOMPARE(import.changes(), 2);
        exec(QStringLiteral(
            "DELETE FROM power WHERE model='KMA' AND modification=50 AND in_t=5 AND out_t=32"));
        const QString before = capacities();
        QVERIFY(!import.apply(false));
        QCOMPARE(capacities(), before);
    }

    // A name the list holds twice: the file cannot say which entry it means.
    void entryHeldTwiceIsRefused()
    {
        exec(QStringLiteral("INSERT INTO curtain(text_ru,c_value) VALUES ('ПВХ',40)"));
        exec(QStringLiteral("INSERT INTO curtain(text_ru,c_value) VALUES ('ПВХ',60)"));
        const CsvSimpleLayout layout(session(), Functions::KindCurtain);
        const CsvImport import(session(), layout, "text_ru;c_value\r\nПВХ;50\r\n");
        QCOMPARE(import.problems(),
                 QStringList{QStringLiteral("Строка 2: в справочнике несколько записей «ПВХ»")});
        QCOMPARE(import.adds() + import.changes(), 0);
    }

    // A write the store refuses after the file passed every check (a trigger
    // on one product): the import is taken back whole, and the refusal names
    // the row's line.
    void refusedWriteChangesNothing()
    {
        openKmCapacities();
        delete mainWindow()->listWindow();
        trigger("mPr");
        const auto products = [this] {
            const QueryTable table =
                rows(QStringLiteral("SELECT pkey,text_ru,co FROM Product ORDER BY pkey"));
            QStringList all;
            for (int r = 0; r < table.rowCount(); ++r)
                all << table.text(r, 0) + table.text(r, 1) + table.text(r, 2);
            return all;
        };
        const QStringList before = products();
        for (const QString& statement :
             TestDatabases::refuseInserts(QStringLiteral("Product"), QStringLiteral("NEW.co = 0.92")))
            exec(statement);
        m_messages.queueTick(false);
        m_messages.queueAnswer(MsgAnswer::Yes);
        importFile("group;text_ru;co;cz;cwr;tko;tnz;td0;td2;td5;td15\r\n"
                   "Фрукты;Крыжовник;0,91;0,47;66;-1;-9;0,01;0,01;0,02;0,04\r\n"
                   "Фрукты;Фейхоа;0,92;0,47;66;-1;-9;0,01;0,01;0,02;0,04\r\n");
        QCOMPARE(m_messages.texts().size(), 2);
        QVERIFY(
            m_messages.texts().first().startsWith(QStringLiteral("Файл «km.csv»: добавить 2, изменить 0")));
        const QString shown = m_messages.lastText();
        QVERIFY2(shown.startsWith(QStringLiteral("Файл «km.csv» не загружен, справочник не изменен")) &&
                     shown.contains(QStringLiteral("Строка 3: ")) &&
                     shown.contains(QStringLiteral("refused")),
                 qPrintable(shown));
        QCOMPARE(products(), before);
    }

    void fileWithAMistakeChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("reason"); // %1 the line changed, %2 the next, %3 the set's first
        const QByteArray row = "\r\nKMA;50;20;5;5910";
        const QByteArray set = "\r\nKMA;50;";
        QTest::newRow("not a number") << row << QByteArray("\r\nKMA;50;20;5;12,3,4")
                                      << QStringLiteral("Строка %1, столбец «power»: не число «12,3,4»");
        QTest::newRow("capacity 0")
            << row << QByteArray("\r\nKMA;50;20;5;0")
            << QStringLiteral("Строка %1, столбец «power»: должно быть больше 0 и не больше 10000000 «0»");
        QTest::newRow("broken modification")
            << row << QByteArray("\r\nKMA;50,5;20;5;5910")
            << QStringLiteral(
                   "Строка %1, столбец «modification»: должно быть целым числом от 1 до 999 «50,5»");
        QTest::newRow("no model") << row << QByteArray("\r\n;50;20;5;5910")
                                  << QStringLiteral("Строка %1, столбец «model»: пусто");
        QTest::newRow("row twice") << row << row + row
                                   << QStringLiteral("Строка %2, та же запись, что в строке %1");
        QTest::newRow("extra field") << row << row + ";7"
                                     << QStringLiteral("Строка %1: полей 6, а в заголовке 5.");
        QTest::newRow("quote left open")
            << row << row + ";\"x" << QStringLiteral("Строка %1: кавычки не закрыты");
        QTest::newRow("ambient 21") << row << QByteArray("\r\nKMA;50;21;5;5910")
                                    << QStringLiteral("Строка %3, модель KMA050: ");
        QTest::newRow("chamber of another class")
            << set << QByteArray("\r\nKMK;55;")
            << QStringLiteral(
                   "Строка %1, модель KMK055: У модели KMK температуры в камере 5/10/15 °C, а ее класс "
                   "рассчитан на -25/-22/-18 °C.");
        QTest::newRow("code of another type")
            << set << QByteArray("\r\nKSA;50;")
            << QStringLiteral("Строка %1, модель KSA050: такая модель уже есть");
        QTest::newRow("code of no series")
            << set << QByteArray("\r\nKXA;50;")
            << QStringLiteral("модель KXA050: код модели KXA не начинается с серии KM");
        QTest::newRow("code too long")
            << set << QByteArray("\r\nKMAA;50;") << QStringLiteral("должен состоять из трех символов");
        QTest::newRow("column missing") << QByteArray(";power\r\n") << QByteArray(";powr\r\n")
                                        << QStringLiteral("Строка 1: нет столбца «power».");
    }
    void fileWithAMistakeChangesNothing()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, reason);
        openKmCapacities();
        const QString before = capacities();
        QByteArray bytes = file();
        const auto lineOf = [&bytes](const QByteArray& text) {
            return int(bytes.left(bytes.indexOf(text) + 2).count("\r\n")) + 1;
        };
        const QString expected = QString(reason)
                                     .replace(QLatin1String("%1"), QString::number(lineOf(from)))
                                     .replace(QLatin1String("%2"), QString::number(lineOf(from) + 1))
                                     .replace(QLatin1String("%3"), QString::number(lineOf("\r\nKMA;50;")));
        importFile(bytes.replace(from, to));
        const QString shown = m_messages.lastText();
        QVERIFY2(shown.startsWith(QStringLiteral("Файл «km.csv» не загружен, справочник не изменен")),
                 qPrintable(shown));
        QVERIFY2(shown.contains(expected), qPrintable(shown));
        QCOMPARE(capacities(), before);
    }

    // Names with ';', quotes and a line break, as either locale's spreadsheet
    // saves them; ticked, the products the file lacks go.
    void productsFromASpreadsheet_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("tick");
        QTest::newRow("Russian locale")
            << QByteArray(
                   "\xEF\xBB\xBFgroup;text_ru;co;cz;cwr;tko;tnz;td0;td2;td5;td15\r\nФрукты;\"Яблоки "
                   "\"\"Антоновка\"\"; сорт\r\n2\";0,91;0,473;66,9;-1,1;-9,1;0,01;0,0128;0,017;0,045\r\n"
                   ";;;;;;;;;;\r\n")
            << false;
        QTest::newRow("English locale")
            << QByteArray("group,text_ru,co,cz,cwr,tko,tnz,td0,td2,td5,td15\n"
                          "Фрукты,\"Яблоки \"\"Антоновка\"\"; сорт\r\n2\",0.91,0.473,"
                          "66.9,-1.1,-9.1,0.01,0.0128,0.017,0.045")
            << true;
    }
    void productsFromASpreadsheet()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, tick);
        openKmCapacities();
        const qint64 products = rows(QStringLiteral("SELECT COUNT(*) FROM Product")).integer(0, 0);
        delete mainWindow()->listWindow();
        trigger("mPr");
        m_messages.queueTick(tick);
        m_messages.queueAnswer(MsgAnswer::Yes);
        if (tick) // every product goes: asked once more
            m_messages.queueAnswer(MsgAnswer::Yes);
        importFile(bytes);
        QCOMPARE(m_messages.texts().at(m_messages.texts().size() - (tick ? 2 : 1)),
                 QStringLiteral("Файл «km.csv»: добавить 1, изменить 0, без изменений 0%1.\r\nЗагрузить?")
                     .arg(tick ? QStringLiteral(", удалить %1").arg(products) : QString()));
        const QueryTable added =
            rows(QStringLiteral("SELECT text_ru,co,tko,td15,fkey FROM Product ORDER BY pkey DESC"));
        QCOMPARE(added.text(0, 0), QStringLiteral("Яблоки \"Антоновка\"; сорт\r\n2"));
        QCOMPARE(added.number(0, 1), 0.91);
        QCOMPARE(added.number(0, 2), -1.1);
        QCOMPARE(added.number(0, 3), 0.045);
        QCOMPARE(added.integer(0, 4), 1);
        QCOMPARE(added.rowCount(), tick ? 1 : int(products) + 1);
    }
};

QTEST_MAIN(TestCsvExchange)
#include "test_csvexchange.moc"
