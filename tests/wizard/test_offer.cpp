#include "CsvFile.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "Orders.h"
#include "ProgramDatabases.h"
#include "QueryTable.h"
#include "ResultText.h"
#include "TestDatabases.h"
#include "WizardFixture.h"
#include "frmOffer.h"

#include <QLabel>
#include <QListWidget>
#include <QPrinterInfo>
#include <QProcess>
#include <QTableWidget>
#include <QtTest>

namespace {

const QString Customer = QStringLiteral("ООО \"Северный холод\"");
// The dates of the sample customer's calculations 1, 2 and 3.
const QHash<QString, qint32> KeyOfDate{
    {QStringLiteral("14.03.2024"), 1}, {QStringLiteral("15.03.2024"), 2}, {QStringLiteral("02.04.2024"), 3}};
constexpr int LoadColumn = 5, ReserveColumn = 9;

} // namespace

class TestOffer : public WizardTest
{
    Q_OBJECT

    void prepare() override { useSampleDatabases(); }

private slots:
    void madeSavedReopenedReorderedPrintedAndExported()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("this system has a printer");
        QVERIFY(openOffer());
        QCOMPARE(table()->rowCount(), 3);
        for (int row = 0; row < 3; ++row)
            table()->item(row, 0)->setCheckState(Qt::Checked);
        table()->selectRow(2);
        click(QStringLiteral("cmdUp"));
        click(QStringLiteral("cmdUp"));
        QCOMPARE(shownKeys(), (QList<qint32>{3, 1, 2}));
        QCOMPARE(label(QStringLiteral("lblSums")), sumsOf({3, 1, 2}));

        control<QLineEdit>(QStringLiteral("txtName"))->setText(QStringLiteral("Склад на три камеры"));
        click(QStringLiteral("cmdSave"));
        QCOMPARE(storedKeys(), (QList<qint32>{3, 1, 2}));
        table()->selectRow(0);
        click(QStringLiteral("cmdDown"));
        click(QStringLiteral("cmdSave"));
        QCOMPARE(storedKeys(), (QList<qint32>{1, 3, 2}));
        QCOMPARE(f->rowCount(QStringLiteral("offer")), 1);
        closeOffer();

        QVERIFY(openOffer());
        auto* offers = control<QListWidget>(QStringLiteral("lstOffers"));
        QCOMPARE(offers->count(), 1);
        QCOMPARE(offers->item(0)->text(), QStringLiteral("Склад на три камеры (05.03.2024)"));
        offers->setCurrentRow(0);
        click(QStringLiteral("cmdOpen"));
        QCOMPARE(shownKeys(), (QList<qint32>{1, 3, 2}));
        for (int row = 0; row < 3; ++row)
            QCOMPARE(table()->item(row, 0)->checkState(), Qt::Checked);

        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        click(QStringLiteral("cmdPrint"));
        qputenv("HOME", oldHome);
        QVERIFY(
            f->messages.lastText().startsWith(QStringLiteral("Принтер не найден. Документ «Предложение»")));
        const QStringList pages = pdfPages(home.filePath(QStringLiteral("Documents/") + Customer +
                                                         QStringLiteral(" 2024-03-05 предложение.pdf")));
        // The summary, then both report pages of each chamber.
        QCOMPARE(pages.size(), 7);
        for (int row = 0; row < 3; ++row)
            QVERIFY2(pages.first().contains(table()->item(row, LoadColumn)->text()),
                     qPrintable(pages.first()));
        QVERIFY2(pages.first().contains(sumsOf({1, 3, 2})), qPrintable(pages.first()));
        QVERIFY(pages.first().contains(QStringLiteral("Петров Сергей Иванович")));
        for (const QString& page : pages)
            QVERIFY(page.contains(QStringLiteral("Московское представительство")));

        const QString csvPath = home.filePath(QStringLiteral("offer.csv"));
        f->messages.queueFileName(csvPath);
        click(QStringLiteral("cmdExport"));
        QFile file(csvPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QString error;
        const std::optional<CsvFile::Table> csv = CsvFile::read(bytes, &error);
        QVERIFY2(csv, qPrintable(error));
        QVERIFY(csv->decimalComma);
        QCOMPARE(csv->rows.size(), 4);
        qint64 load = 0;
        for (int row = 0; row < 3; ++row) {
            const QStringList& fields = csv->rows.at(row);
            QCOMPARE(fields.at(csv->column(QStringLiteral("Нагрузка, Вт"))),
                     table()->item(row, LoadColumn)->text());
            load += fields.at(csv->column(QStringLiteral("Нагрузка, Вт"))).toLongLong();
            // A reserve with a decimal part is written with a comma.
            const QString reserve = fields.at(csv->column(QStringLiteral("Запас, %")));
            QCOMPARE(QString(reserve).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(),
                     table()->item(row, ReserveColumn)->text().toDouble());
            QVERIFY(!reserve.contains(QLatin1Char('.')));
        }
        const QStringList& sums = csv->rows.last();
        QCOMPARE(sums.first(), QStringLiteral("Итого"));
        QCOMPARE(sums.at(csv->column(QStringLiteral("Нагрузка, Вт"))).toLongLong(), load);
        QCOMPARE(QString(sums.at(csv->column(QStringLiteral("Производительность, Вт"))))
                     .replace(QLatin1Char(','), QLatin1Char('.'))
                     .toDouble(),
                 capacityOf({1, 2, 3}));
        closeOffer();
    }

    // A chamber whose product is gone shows why and cannot be ticked; one
    // deleted since the offer was saved shows as missing; neither is summed.
    void lostProductAndDeletedCalculationNotSummed()
    {
        QVERIFY(openOffer());
        for (int row = 0; row < 3; ++row)
            table()->item(row, 0)->setCheckState(Qt::Checked);
        control<QLineEdit>(QStringLiteral("txtName"))->setText(QStringLiteral("Все"));
        click(QStringLiteral("cmdSave"));
        closeOffer();
        // As the administrator deletes it: on a connection of its own. Calculation 1's product alone.
        const auto admin = Database::open(
            TestDatabases::address(m_sample->filePath(QStringLiteral("nv.mdb"))), referenceTables());
        QVERIFY(admin && admin->execute(QStringLiteral("DELETE FROM Product WHERE pkey=1")));
        QVERIFY(f->orders(QStringLiteral("DELETE FROM data WHERE pkey=3")));

        QVERIFY(openOffer());
        control<QListWidget>(QStringLiteral("lstOffers"))->setCurrentRow(0);
        click(QStringLiteral("cmdOpen"));
        QCOMPARE(table()->rowCount(), 3);
        const QTableWidgetItem* lost = table()->item(0, 0);
        QVERIFY(!(lost->flags() & Qt::ItemIsUserCheckable));
        QCOMPARE(lost->checkState(), Qt::Unchecked);
        QVERIFY2(table()->item(0, LoadColumn)->text().contains(QStringLiteral("продукт")),
                 qPrintable(table()->item(0, LoadColumn)->text()));
        QVERIFY(table()->item(2, LoadColumn)->text().contains(QStringLiteral("удален")));
        QCOMPARE(table()->item(1, 0)->checkState(), Qt::Checked);
        QCOMPARE(label(QStringLiteral("lblSums")), sumsOf({2}));
        closeOffer();
    }

    // A store made before offers: computed, printed and exported, not kept.
    void storeMadeBeforeOffers()
    {
        QVERIFY(f->orders(QStringLiteral("DROP TABLE offer_row")));
        QVERIFY(f->orders(QStringLiteral("DROP TABLE offer")));
        QVERIFY(openOffer());
        QVERIFY(control<QLabel>(QStringLiteral("lblNotKept"))->isVisibleTo(m_offer));
        table()->item(0, 0)->setCheckState(Qt::Checked);
        QVERIFY(!control<QPushButton>(QStringLiteral("cmdSave"))->isEnabled());
        QVERIFY(control<QPushButton>(QStringLiteral("cmdPrint"))->isEnabled());
        QCOMPARE(label(QStringLiteral("lblSums")), sumsOf({1}));
        closeOffer();
    }

private:
    frmOffer* openOffer()
    {
        f->choose(QStringLiteral("Combo1"), Customer);
        f->click(QStringLiteral("Command1"));
        f->click(QStringLiteral("cmdOffer"));
        m_offer = f->screen()->findChild<frmOffer*>();
        return m_offer;
    }
    // The window goes as the user closes it, before the next one opens.
    void closeOffer()
    {
        m_offer->close();
        QTRY_VERIFY(m_offer.isNull());
    }
    template <class T> T* control(const QString& name) const { return m_offer->findChild<T*>(name); }
    QTableWidget* table() const { return control<QTableWidget>(QStringLiteral("tblChambers")); }
    QString label(const QString& name) const { return control<QLabel>(name)->text(); }
    void click(const QString& name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }

    QList<qint32> shownKeys() const
    {
        QList<qint32> keys;
        for (int row = 0; row < table()->rowCount(); ++row)
            keys << KeyOfDate.value(table()->item(row, 0)->text());
        return keys;
    }
    QList<qint32> storedKeys()
    {
        QueryTable rows;
        QList<qint32> keys;
        for (int row = 0, n = f->context.order_db->query(
                              QStringLiteral("SELECT data_pkey FROM offer_row ORDER BY position"), rows);
             row < n; ++row)
            keys << qint32(rows.integer(row, 0));
        return keys;
    }

    // Each calculation reopened as the customer screen reopens it.
    CalculationRecord reopened(qint32 key)
    {
        CalculationRecord r;
        ApplyStartValues(r);
        if (!ReopenCalculation(f->context, r, key))
            qWarning() << "calculation" << key << "not reopened";
        return r;
    }
    double capacityOf(const QList<qint32>& keys)
    {
        double capacity = 0;
        for (qint32 key : keys) {
            const CalculationRecord r = reopened(key);
            capacity += r.unit_capacity * r.xo_count;
        }
        return capacity;
    }
    // The sums line written out from the reopened calculations; every
    // sample chamber has a unit of a model of its own.
    QString sumsOf(const QList<qint32>& keys)
    {
        qint64 load = 0;
        QStringList units;
        for (qint32 key : keys) {
            const CalculationRecord r = reopened(key);
            load += r.q_total;
            units << QStringLiteral("%1%2 × %3").arg(r.sel_model, r.sel_modification).arg(r.xo_count);
        }
        return QStringLiteral("Итого: камер %1; нагрузка %2 Вт; агрегаты: %3; производительность %4 Вт")
            .arg(keys.size())
            .arg(load)
            .arg(units.join(QStringLiteral(", ")), ResultText::whole(capacityOf(keys)));
    }

    static QStringList pdfPages(const QString& pdf)
    {
        if (!QFile::exists(pdf))
            qWarning() << "no" << pdf;
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        text.waitForFinished(60000);
        return QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    }

    QPointer<frmOffer> m_offer;
};

QTEST_MAIN(TestOffer)
#include "test_offer.moc"
