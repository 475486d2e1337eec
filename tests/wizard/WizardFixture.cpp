#include "WizardFixture.h"

#include "Database.h"
#include "DatabaseAccess.h"
#include "OrderColumns.h"
#include "QueryTable.h"
#include "TestDatabases.h"

#include <QApplication>
#include <QLocale>
#include <QtTest>

WizardFixture::WizardFixture()
{
    QLocale::setDefault(QLocale::c());
    m_open = m_dir.isValid() &&
             TestDatabases::createEmptyReference(m_dir.filePath(QStringLiteral("nv.mdb"))) &&
             TestDatabases::createEmptyOrders(m_dir.filePath(QStringLiteral("order.mdb"))) &&
             OpenDatabases(context, DataLocation::folder(m_dir.path()));
    ApplyStartValues(record);
    wizard = std::make_unique<Wizard>(context, record);
    wizard->setToday(QDate(2024, 3, 5));
    wizard->setQuitHandler([this] { ++quitCount; });
}

WizardFixture::~WizardFixture()
{
    wizard.reset();
    // Screens left with deleteLater go before their databases do.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    context.ref_db.reset();
    context.order_db.reset();
    QLocale::setDefault(QLocale::c());
}

bool WizardFixture::reference(const QString& sql)
{
    return context.ref_db && context.ref_db->execute(sql);
}

bool WizardFixture::orders(const QString& sql)
{
    return context.order_db && context.order_db->execute(sql);
}

void WizardFixture::addChamberLists()
{
    reference(QStringLiteral("INSERT INTO article (Pkey, s_name, s_value, cls_n) VALUES "
                             "(1, 'минеральная вата', 0.045, 1), (2, 'пенополиуретан панели', 0.025, 1), "
                             "(3, 'пенопласт', 0.04, 1), (4, 'кирпич', 0.7, 2)"));
    reference(QStringLiteral("INSERT INTO curtain (Pkey, text_ru, c_value) VALUES (1, 'нет', 0), "
                             "(2, 'ПВХ-завеса', 50)"));
}

void WizardFixture::addProductLists()
{
    reference(QStringLiteral("INSERT INTO PGroup (Pkey, text_ru) VALUES (1, 'Мясо'), (2, 'Овощи'), "
                             "(3, 'Напитки')"));
    reference(QStringLiteral(
        "INSERT INTO Product (pkey, text_en, text_it, text_ru, co, cz, cwr, tko, tnz, td0, td2, td5, td15, "
        "fkey) "
        "VALUES (1, 'Beef', 'Manzo', 'Говядина', 0.77, 0.4, 55, -1.5, -5, 0, 0, 0, 0, 1), "
        "(2, 'Pork', 'Maiale', 'Свинина', 0.6, 0.38, 45, -2, -5, 0, 0, 0, 0, 1), "
        "(3, 'Apples', 'Mele', 'Яблоки', 0.92, 0.48, 68, -1.5, -2, 0.01, 0.02, 0.03, 0.06, 2)"));
    reference(
        QStringLiteral("INSERT INTO packing (Pkey, text_ru, mass, thermal) VALUES (1, 'Картон', 10, 0.4), "
                       "(2, 'Без упаковки', 0, 0)"));
}

void WizardFixture::addUnits()
{
    reference(QStringLiteral("INSERT INTO equipment (Pkey, text_ru, model, picture, scheme) VALUES "
                             "(1, 'Агрегат KM', 'KM', '', '')"));
    for (int modification : {20, 35})
        for (int out : {20, 32, 43})
            for (int in : {-25, -22, -18})
                reference(QStringLiteral("INSERT INTO power (model, modification, in_t, out_t, power, fkey) "
                                         "VALUES ('KMB', %1, %2, %3, %4, 1)")
                              .arg(modification)
                              .arg(in)
                              .arg(out)
                              .arg(modification == 20 ? 20000 : 40000));
}

qint32 WizardFixture::addCustomer(const QString& organization, const QString& city, const QString& phones,
                                  const QString& email, const QString& name)
{
    auto quoted = [](QString s) {
        return QLatin1Char('\'') + s.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    };
    orders(QStringLiteral(
               "INSERT INTO contact (organization, city, phones, email, name) VALUES (%1, %2, %3, %4, %5)")
               .arg(quoted(organization), quoted(city), quoted(phones), quoted(email), quoted(name)));
    return static_cast<qint32>(context.order_db->lastInsertKey());
}

qint32 WizardFixture::addCalculation(qint32 customer, const QString& odate, const QString& note,
                                     double temperature)
{
    orders(
        QStringLiteral(
            "INSERT INTO data (xk_bulk, xk_length, xk_width, xk_height, xk_ceiling, xk_ceiling_stuff, "
            "xk_wall, "
            "xk_wall_stuff, xk_floor, xk_floor_stuff, xk_doors, xk_doors_open, xk_curtain, xk_temperature, "
            "xk_people, xk_heat, by_temperature, by_moisture, by_ground, px_product, px_time, px_start_t, "
            "px_end_t, px_weight, px_turnover, px_packing, xo_type1, xo_type2, xo_count, xo_power, xo_work, "
            "contact, odate, onote, px_pgroup) VALUES (60, 5, 4, 3, 120, 2, 100, 2, 80, 1, 2, 1, 1, %1, 1, "
            "0, "
            "32, 70, 20, 1, 24, 20, -18, 2.5, 10, 1, 0, 2, 1, 0, 70, %2, '%3', '%4', 1)")
            .arg(temperature)
            .arg(customer)
            .arg(odate, note));
    return static_cast<qint32>(context.order_db->lastInsertKey());
}

int WizardFixture::rowCount(const QString& table)
{
    QueryTable rows;
    if (context.order_db->query(QStringLiteral("SELECT COUNT(*) FROM ") + table, rows) <= 0)
        return -1;
    return static_cast<int>(rows.integer(0, 0));
}

QStringList WizardFixture::columns(const QStringList& expected) const
{
    QStringList all, named;
    for (const OrderColumn& c : OrderColumns)
        all << QLatin1String(c.name) + QLatin1Char('=') +
                   (c.real ? QString::number(record.*c.real) : QString::number(record.*c.whole));
    for (const QString& e : expected) {
        const QString prefix = e.section(QLatin1Char('='), 0, 0) + QLatin1Char('=');
        const auto found =
            std::find_if(all.cbegin(), all.cend(), [&](const QString& a) { return a.startsWith(prefix); });
        named << (found != all.cend() ? *found : prefix + QStringLiteral("<no such column>"));
    }
    return expected.isEmpty() ? all : named;
}

QString WizardFixture::screenName() const
{
    return screen() ? screen()->objectName() : QString();
}

void WizardFixture::click(const QString& button)
{
    QPushButton* b = control<QPushButton>(button);
    QVERIFY2(b, qPrintable(button));
    QTest::mouseClick(b, Qt::LeftButton);
}

void WizardFixture::type(const QString& name, const QString& text)
{
    QLineEdit* b = box(name);
    QVERIFY2(b, qPrintable(name));
    b->selectAll();
    b->del();
    keys(b, text);
}

void WizardFixture::type(std::initializer_list<std::pair<const char*, const char*>> boxesAndTexts)
{
    for (const auto& [name, text] : boxesAndTexts)
        type(QString::fromUtf8(name), QString::fromUtf8(text));
}

void WizardFixture::keys(QWidget* widget, const QString& text)
{
    // keyClicks knows only ASCII; other letters go as text of an unknown key.
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget,
                            c.unicode() < 128 ? QTest::asciiToKey(char(c.unicode())) : Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
}

void WizardFixture::choose(const QString& name, const QString& itemText)
{
    QComboBox* l = list(name);
    QVERIFY2(l, qPrintable(name));
    const int index = l->findText(itemText);
    QVERIFY2(index >= 0, qPrintable(itemText));
    // A user's choice begins with a press on the list; one that leaves the
    // list as it is stands for it here.
    QTest::keyClick(l, Qt::Key_Shift);
    l->setCurrentIndex(index);
    emit l->activated(index);
}

bool WizardFixture::activate()
{
    QWidget* w = screen();
    if (!w)
        return false;
    QApplication::setActiveWindow(w);
    return QTest::qWaitForWindowActive(w);
}

bool WizardFixture::leave(const QString& name)
{
    QLineEdit* b = box(name);
    if (!b || !activate())
        return false;
    b->setFocus(Qt::TabFocusReason);
    if (QApplication::focusWidget() != b)
        return false;
    QTest::keyClick(b, Qt::Key_Tab);
    return true;
}

QWidget* WizardFixture::focused() const
{
    return screen() ? screen()->focusWidget() : nullptr;
}

void WizardFixture::enterChamber()
{
    click(QStringLiteral("cmbNext"));
}

void WizardFixture::enterProduct()
{
    type({{"Text2", "5"}, {"Text3", "4"}, {"Text4", "3"}, {"Text1", "-18"}});
    click(QStringLiteral("cmbNext"));
}

void WizardFixture::enterEquipment()
{
    type({{"Text16", "20"}, {"Text17", "-18"}, {"Text18", "24"}, {"Text19", "2.5"}, {"Text20", "10"}});
    click(QStringLiteral("cmbNext"));
}

void WizardTest::init()
{
    f = std::make_unique<WizardFixture>();
    QVERIFY(f->isOpen());
    prepare();
}

void WizardTest::useSampleDatabases()
{
    m_sample = std::make_unique<QTemporaryDir>();
    QVERIFY(m_sample->isValid());
    QVERIFY(TestDatabases::createSampleFolder(m_sample->path()));
    QVERIFY(OpenDatabases(f->context, DataLocation::folder(m_sample->path())));
    f->wizard->start();
}

void WizardTest::cleanup()
{
    f.reset();
}
