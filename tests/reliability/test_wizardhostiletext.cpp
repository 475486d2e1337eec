// Hostile texts typed into the customer screen and the note of "Сохранить",
// end to end: saved, found again with "Поиск" and reopened. Each comes back
// exactly (the organisation with its apostrophes as "~", as the screen
// stores it), and no other row or column changes.
#include "Database.h"
#include "HostileTexts.h"
#include "QueryTable.h"
#include "WizardFixture.h"

#include <QtTest>

namespace {

QStringList snapshot(Database& db)
{
    return HostileTexts::rowsOf(db, {QStringLiteral("contact"), QStringLiteral("data")});
}

// Short printable texts are typed key by key; others are pasted, as a user
// would enter a tab, a 4,000-character text or an emoji.
void enter(QLineEdit* box, const QString& text)
{
    box->selectAll();
    box->del();
    bool typeable = text.size() <= 60;
    for (const QChar c : text)
        typeable = typeable && c.isPrint() && !c.isSurrogate();
    if (typeable)
        WizardFixture::keys(box, text);
    else
        box->insert(text);
}

} // namespace

class TestWizardHostileText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        f = std::make_unique<WizardFixture>();
        QVERIFY(f->isOpen());
        f->addChamberLists();
        f->addProductLists();
        const qint32 neighbour = f->addCustomer(QStringLiteral("Сосед"), QStringLiteral("Тверь"));
        f->addCalculation(neighbour, QStringLiteral("2024-01-01"), QStringLiteral("соседний расчет"));
        f->wizard->start();
    }
    void cleanupTestCase() { f.reset(); }
    void savedFoundAndReopened_data()
    {
        QTest::addColumn<QString>("text");
        const QStringList texts = HostileTexts::all();
        for (int t = 0; t < texts.size(); ++t)
            QTest::addRow("%d", t) << texts.at(t);
        // Each field also gets the text alone, the others plain.
        QTest::addRow("apostrophes only") << QStringLiteral("'''");
    }
    void savedFoundAndReopened()
    {
        QFETCH(QString, text);
        f->messages.clear();
        Database& orders = *f->context.order_db;
        const QStringList before = snapshot(orders);

        // The customer screen: a new customer typed into every field.
        QCOMPARE(f->screenName(), QStringLiteral("frmStage0"));
        QComboBox* organisation = f->list(QStringLiteral("Combo1"));
        enter(organisation->lineEdit(), text);
        for (const char* box : {"Text2", "Text3", "Text4", "Text5"})
            enter(f->box(QLatin1String(box)), text);
        f->click(QStringLiteral("cmbNext"));
        QCOMPARE(f->screenName(), QStringLiteral("frmStage3"));

        // Straight to the results, then "Сохранить" with the text as the note.
        f->wizard->enterFinish();
        f->messages.queueInput(text);
        f->click(QStringLiteral("Command3"));
        QCOMPARE(f->screenName(), QStringLiteral("frmStage0"));
        QVERIFY2(f->messages.shown().isEmpty(), qPrintable(f->messages.lastText()));

        const QStringList after = snapshot(orders);
        for (const QString& row : before)
            QVERIFY2(after.contains(row), qPrintable(QStringLiteral("changed: ") + row.left(200)));
        QString stored = text;
        stored.replace(QLatin1Char('\''), QLatin1Char('~'));
        if (text.isEmpty()) {
            // An empty note saves nothing: the screen's documented way to cancel.
            QCOMPARE(after, before);
            return;
        }
        QCOMPARE(after.size(), before.size() + 2);

        // "Поиск" on the customer, then the calculation reopened from the list.
        // Keys are numbered upwards: the new customer has the largest.
        QueryTable newest;
        QCOMPARE(orders.query(QStringLiteral("SELECT MAX(pkey) FROM contact"), newest).valueOr(-1), 1);
        const qint16 customer = qint16(newest.integer(0, 0));
        organisation = f->list(QStringLiteral("Combo1"));
        int index = -1;
        for (int i = 0; i < organisation->count(); ++i)
            if (organisation->itemData(i).toInt() == customer)
                index = i;
        QVERIFY(index >= 0);
        QCOMPARE(organisation->itemText(index), stored);
        organisation->setCurrentIndex(index);
        emit organisation->activated(index);
        for (const char* box : {"Text2", "Text3", "Text4", "Text5"})
            QCOMPARE(f->box(QLatin1String(box))->text(), text);
        f->click(QStringLiteral("Command1"));
        QComboBox* calculations = f->list(QStringLiteral("Combo2"));
        QCOMPARE(calculations->count(), 1);
        QVERIFY(calculations->itemText(0).endsWith(QLatin1Char(' ') + text));
        f->list(QStringLiteral("Combo2"))->setCurrentIndex(0);
        emit calculations->activated(0);
        QCOMPARE(f->screenName(), QStringLiteral("frmFinish"));
        const CalculationRecord& r = f->record;
        QCOMPARE(r.onote, text);
        QCOMPARE(r.contact, customer);
        QCOMPARE(snapshot(orders), after);

        // Back to the customer screen for the next text, nothing saved.
        f->wizard->ResetRecord();
        f->wizard->showStage0();
    }

private:
    std::unique_ptr<WizardFixture> f;
};

QTEST_MAIN(TestWizardHostileText)
#include "test_wizardhostiletext.moc"
