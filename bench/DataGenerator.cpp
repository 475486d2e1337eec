#include "DataGenerator.h"

#include "Database.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QVariant>
#include <cmath>
#include <iterator>

namespace {

struct Series
{
    const char* code;
    QStringList letters;
};

// The model codes of each series. The selection builds KMC and KMX for a KM
// unit in a deep-freeze chamber too; those rows belong to the KMC type only,
// as a model code must have one set of nine rows per modification.
const Series AllSeries[] = {
    {"KM", {"H", "A", "M", "N", "B", "K"}},
    {"KS", {"H", "A", "M", "N", "B", "K"}},
    {"KMC", {"C", "X"}},
    {"KSC", {"C", "X"}},
    {"KMP", {"P", "Q"}},
    {"KSP", {"P", "Q"}},
};

int classOf(const QString& letter)
{
    if (letter == QLatin1String("H") || letter == QLatin1String("A"))
        return 0;
    if (letter == QLatin1String("M") || letter == QLatin1String("N") || letter == QLatin1String("P") ||
        letter == QLatin1String("Q"))
        return 1;
    if (letter == QLatin1String("B") || letter == QLatin1String("K"))
        return 2;
    return 3;
}

// One INSERT and the values bound to its placeholders, set one by one.
struct Statement
{
    QString sql;
    QVariantList values;

    // As the engine takes them: whole numbers as qint64, an empty text as NULL.
    void bindValue(int index, const QVariant& value)
    {
        if (values.size() <= index)
            values.resize(index + 1);
        if (value.typeId() == QMetaType::Int)
            values[index] = qint64(value.toInt());
        else if (value.typeId() == QMetaType::QString && value.toString().isNull())
            values[index] = QVariant();
        else
            values[index] = value;
    }
};

class Script
{
public:
    Script(const QString& path, const QStringList& schema, QString* error) : m_error(error)
    {
        QFile::remove(path);
        Result<void> made = Database::create(DatabaseAddress::file(path), schema);
        if (made) {
            Result<std::unique_ptr<Database>> opened = Database::open(DatabaseAddress::file(path), {});
            if (opened)
                m_db = std::move(opened.value());
            made = opened ? m_db->begin() : Result<void>(opened.failure());
        }
        if (!made)
            fail(made.failure().engineText);
    }

    bool ok() const { return m_ok; }

    Statement prepare(const QString& sql) { return {sql, {}}; }
    void run(const Statement& statement)
    {
        if (!m_ok)
            return;
        if (const Result<void> done = m_db->executeWith(statement.sql, statement.values); !done)
            fail(done.failure().engineText);
    }
    bool finish()
    {
        if (!m_ok)
            return m_ok;
        if (const Result<void> done = m_db->commit(); !done)
            fail(done.failure().engineText);
        return m_ok;
    }

private:
    void fail(const QString& text)
    {
        if (m_ok && m_error)
            *m_error = text;
        m_ok = false;
    }

    std::unique_ptr<Database> m_db;
    QString* m_error;
    bool m_ok = true;
};

QString schemaFile(const QString& name)
{
    return QDir(QStringLiteral(FROSTPICK_DATA_DIR)).filePath(name);
}

constexpr int EquipmentTypes = int(std::size(AllSeries));

} // namespace

bool GenerateReference(const QString& path, const GeneratorSize& size, quint32 seed, QString* error)
{
    QRandomGenerator random(seed);
    Script script(path, {schemaFile(QStringLiteral("schema_nv.sql"))}, error);
    if (!script.ok())
        return false;

    Statement article =
        script.prepare(QStringLiteral("INSERT INTO article (s_name, s_value, cls_n) VALUES (?, ?, 1)"));
    for (int i = 0; i < size.materials; ++i) {
        article.bindValue(0, i == 0 ? QStringLiteral("пенополиуретан панели")
                                    : QStringLiteral("Материал %1").arg(i));
        article.bindValue(1, 0.02 + 0.001 * random.bounded(30));
        script.run(article);
    }
    Statement curtain =
        script.prepare(QStringLiteral("INSERT INTO curtain (text_ru, c_value) VALUES (?, ?)"));
    for (const auto& [name, value] : {std::pair{"нет", 0}, {"ленточная", 85}, {"воздушная", 65}}) {
        curtain.bindValue(0, QString::fromUtf8(name));
        curtain.bindValue(1, value);
        script.run(curtain);
    }
    Statement packing =
        script.prepare(QStringLiteral("INSERT INTO packing (text_ru, mass, thermal) VALUES (?, ?, ?)"));
    for (int i = 0; i < size.packings; ++i) {
        packing.bindValue(0, QStringLiteral("Тара %1").arg(i + 1));
        packing.bindValue(1, 5 + random.bounded(20));
        packing.bindValue(2, 0.3 + 0.01 * random.bounded(30));
        script.run(packing);
    }
    Statement group = script.prepare(QStringLiteral("INSERT INTO PGroup (text_ru) VALUES (?)"));
    for (int g = 0; g < size.groups; ++g) {
        group.bindValue(0, QStringLiteral("Группа %1").arg(g + 1, 2, 10, QLatin1Char('0')));
        script.run(group);
    }
    Statement product = script.prepare(QStringLiteral(
        "INSERT INTO Product (text_en, text_it, text_ru, co, cz, cwr, tko, tnz, td0, td2, td5, td15, "
        "fkey) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int p = 0; p < size.products; ++p) {
        const double tko = -0.5 - 0.1 * random.bounded(30);
        const bool respires = random.bounded(2) == 0;
        const QVariantList values = {QStringLiteral("Product %1").arg(p + 1),
                                     QString(),
                                     QStringLiteral("Продукт %1").arg(p + 1),
                                     0.7 + 0.01 * random.bounded(25),
                                     0.4 + 0.01 * random.bounded(10),
                                     50 + random.bounded(30),
                                     tko,
                                     tko - 5 - random.bounded(10),
                                     respires ? 0.01 + 0.001 * random.bounded(20) : 0.0,
                                     respires ? 0.02 + 0.001 * random.bounded(20) : 0.0,
                                     respires ? 0.03 + 0.001 * random.bounded(20) : 0.0,
                                     respires ? 0.08 + 0.001 * random.bounded(40) : 0.0,
                                     1 + p % size.groups};
        for (int i = 0; i < values.size(); ++i)
            product.bindValue(i, values.at(i));
        script.run(product);
    }

    Statement equipment = script.prepare(
        QStringLiteral("INSERT INTO equipment (text_ru, model, picture, scheme) VALUES (?, ?, ?, ?)"));
    Statement power = script.prepare(QStringLiteral(
        "INSERT INTO power (model, modification, in_t, out_t, power, fkey) VALUES (?, ?, ?, ?, ?, ?)"));
    static const int classTemperatures[4][3] = {{5, 10, 15}, {-5, 0, 5}, {-25, -22, -18}, {-45, -35, -25}};
    // Watts per modification step at the class's lowest temperature.
    static const double ClassWatts[4] = {130, 100, 55, 35};
    int type = 0;
    for (const Series& series : AllSeries) {
        ++type;
        const QString code = QString::fromLatin1(series.code);
        equipment.bindValue(0, QStringLiteral("Агрегат %1").arg(code));
        equipment.bindValue(1, code);
        equipment.bindValue(2, code.toLower() + QStringLiteral(".jpg"));
        equipment.bindValue(3, code.toLower() + QStringLiteral("_scheme.jpg"));
        script.run(equipment);
        for (const QString& letter : series.letters) {
            const QString model = code.left(2) + letter;
            const int cls = classOf(letter);
            for (int m = 0; m < size.modifications; ++m) {
                const int modification = 20 + 15 * m;
                for (int outside : {20, 32, 43}) {
                    for (int t : classTemperatures[cls]) {
                        const double perUnit =
                            ClassWatts[cls] * (1.0 + 0.025 * (t - classTemperatures[cls][0]));
                        const double watts = modification * perUnit * (1.0 - 0.012 * (outside - 20));
                        const QVariantList values = {model,   modification,      t,
                                                     outside, std::round(watts), type};
                        for (int i = 0; i < values.size(); ++i)
                            power.bindValue(i, values.at(i));
                        script.run(power);
                    }
                }
            }
        }
    }
    return script.finish();
}

bool GenerateOrders(const QString& path, const GeneratorSize& size, quint32 seed, QString* error)
{
    QRandomGenerator random(seed);
    Script script(path, {schemaFile(QStringLiteral("schema_order.sql"))}, error);
    if (!script.ok())
        return false;

    Statement contact = script.prepare(QStringLiteral(
        "INSERT INTO contact (organization, city, phones, email, name) VALUES (?, ?, ?, ?, ?)"));
    for (int c = 0; c < size.customers; ++c) {
        const QVariantList values = {
            QStringLiteral("Организация %1").arg(c + 1, 5, 10, QLatin1Char('0')),
            QStringLiteral("Город %1").arg(c % 97), QStringLiteral("+7 495 %1").arg(c),
            QStringLiteral("mail%1@example.ru").arg(c), QStringLiteral("Иванов %1").arg(c)};
        for (int i = 0; i < values.size(); ++i)
            contact.bindValue(i, values.at(i));
        script.run(contact);
    }

    Statement data = script.prepare(QStringLiteral(
        "INSERT INTO data (xk_bulk, xk_length, xk_width, xk_height, xk_ceiling, xk_ceiling_stuff, xk_wall, "
        "xk_wall_stuff, xk_floor, xk_floor_stuff, xk_doors, xk_doors_open, xk_curtain, xk_temperature, "
        "xk_people, "
        "xk_heat, by_temperature, by_moisture, by_ground, px_product, px_time, px_start_t, px_end_t, "
        "px_weight, "
        "px_turnover, px_packing, xo_type1, xo_type2, xo_count, xo_power, xo_work, contact, odate, onote, "
        "px_pgroup) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?, ?, ?, "
        "?, ?)"));
    for (int n = 0; n < size.calculations; ++n) {
        const int customer =
            n < size.bigCustomerCalculations ? BigCustomerKey : 2 + random.bounded(size.customers - 1);
        const double length = 3 + random.bounded(12);
        const double width = 2 + random.bounded(8);
        const double height = 2.5 + 0.5 * random.bounded(3);
        // A third freezers, a sixth rooms above 8 °C (fruit, processing), the
        // rest cold stores: every temperature class of the selection.
        const int kind = random.bounded(6);
        const int chamber = kind < 2    ? -18 - random.bounded(8)
                            : kind == 2 ? 10 + random.bounded(5)
                                        : random.bounded(6);
        const int product = 1 + random.bounded(size.products);
        const QVariantList values = {length * width * height,
                                     length,
                                     width,
                                     height,
                                     100 + 20 * random.bounded(5),
                                     1 + random.bounded(size.materials),
                                     100 + 20 * random.bounded(5),
                                     1 + random.bounded(size.materials),
                                     100,
                                     1 + random.bounded(size.materials),
                                     2.0,
                                     1.0 + random.bounded(3),
                                     1 + random.bounded(3),
                                     chamber,
                                     random.bounded(16),
                                     random.bounded(500),
                                     32,
                                     70,
                                     20,
                                     product,
                                     24,
                                     20,
                                     chamber + 2,
                                     1 + random.bounded(40),
                                     10,
                                     1 + random.bounded(size.packings),
                                     1 + random.bounded(EquipmentTypes),
                                     1 + random.bounded(2),
                                     1 + random.bounded(2),
                                     random.bounded(20),
                                     70,
                                     customer,
                                     QStringLiteral("2026-%1-%2")
                                         .arg(1 + n % 12, 2, 10, QLatin1Char('0'))
                                         .arg(1 + n % 28, 2, 10, QLatin1Char('0')),
                                     QStringLiteral("вариант %1").arg(n + 1),
                                     1 + (product - 1) % size.groups};
        for (int i = 0; i < values.size(); ++i)
            data.bindValue(i, values.at(i));
        script.run(data);
    }
    return script.finish();
}
