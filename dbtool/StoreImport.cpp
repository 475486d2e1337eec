#include "StoreImport.h"

#include "CapacityTable.h"
#include "CsvFile.h"
#include "Database.h"
#include "QueryTable.h"
#include "ReferenceRules.h"
#include "StoreAccess.h"
#include "TableCopy.h"
#include "WriteAttempt.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <map>

namespace {

// Problems named at most, so that a file wrong throughout stays readable.
constexpr int ProblemLimit = 10;

struct LoadedTable
{
    const StoreTable* table = nullptr;
    QString path;
    QueryTable rows;
    QVector<int> lines;
};

// What a column of no reference table may hold: what its type keeps.
constexpr ColumnRule AnyWhole = {"", "", ColumnRule::Kind::Whole, -2147483648.0, 2147483647.0, false};
constexpr ColumnRule AnyNumber = {
    "", "", ColumnRule::Kind::Number, -1.7976931348623157e308, 1.7976931348623157e308, false};

// A field as the value the column's type keeps: a whole number exactly, a
// real as its double, a text as it is; a null field is NULL.
QVariant valueOf(ColumnType type, const ColumnRule& rule, const QString& field, bool decimalComma,
                 QString* problem)
{
    if (type == ColumnType::Text) {
        if (rule.kind == ColumnRule::Kind::Name && field.trimmed().isEmpty())
            *problem = rule.reason();
        return field.isNull() ? QVariant() : QVariant(field);
    }
    if (field.isNull() && !rule.isNumeric())
        return {};
    const ColumnRule& numeric = rule.isNumeric() ? rule : type == ColumnType::Integer ? AnyWhole : AnyNumber;
    const std::optional<double> number = ReferenceRules::fieldNumber(numeric, field, decimalComma, problem);
    if (!number)
        return {};
    bool whole = false;
    const qint64 integer = field.trimmed().toLongLong(&whole);
    if (whole && type != ColumnType::Real)
        return QVariant(integer);
    return QVariant(*number);
}

// The tables of one store read from the folder, by name; entries stay where
// they are while more are added.
using Loaded = std::map<QString, LoadedTable>;

QString load(const StoreTable& table, const CsvFile::Table& file, LoadedTable& loaded)
{
    QVector<int> columnAt;
    for (const QString& name : table.columns) {
        const int at = file.column(name);
        if (at < 0)
            return QStringLiteral("Строка 1: нет столбца «%1».").arg(name);
        columnAt << at;
    }
    for (const QString& name : file.header)
        if (!table.columns.contains(name))
            return QStringLiteral("Строка 1: в таблице %1 нет столбца «%2».").arg(table.name, name);
    loaded.rows.resize(int(file.rows.size()), int(table.columns.size()));
    loaded.lines = QVector<int>(file.lines.cbegin(), file.lines.cend());
    QSet<qint64> keys;
    for (int r = 0; r < file.rows.size(); ++r) {
        QVariantHash row;
        for (int c = 0; c < table.columns.size(); ++c) {
            const QString& field = file.rows.at(r).at(columnAt.at(c));
            const ColumnRule& rule = ReferenceRules::of(table.name, table.columns.at(c));
            QString problem;
            const QVariant value = valueOf(table.types.at(c), rule, field, file.decimalComma, &problem);
            if (c == 0 && problem.isEmpty() && keys.contains(value.toLongLong()))
                problem = QStringLiteral("ключ %1 уже был выше").arg(field);
            if (!problem.isEmpty())
                return CsvFile::at(file.lines.at(r), table.columns.at(c)) + problem;
            if (c == 0)
                keys.insert(value.toLongLong());
            loaded.rows.set(r, c, value);
            row.insert(table.columns.at(c).toLower(), value);
        }
        const QVector<RuleBreach> breaches = ReferenceRules::breaches(table.name, row);
        if (!breaches.isEmpty())
            return CsvFile::at(file.lines.at(r), breaches.first().column) + breaches.first().problem;
    }
    return {};
}

QString columnList(const StoreTable& table, const QStringList& names)
{
    QStringList list;
    for (const QString& name : names)
        list << table.columns.at(int(table.columns.indexOf(name)));
    return list.join(QLatin1Char(','));
}

// A column of a loaded table, or of the store's when the folder lacks it.
QueryTable columns(Database& db, const Loaded& loaded, const StoreLayout& store, const QString& tableName,
                   const QStringList& names)
{
    QueryTable rows;
    const StoreTable* table = nullptr;
    for (const StoreTable& t : store.tables)
        if (t.name == tableName)
            table = &t;
    if (loaded.count(tableName)) {
        const LoadedTable& l = loaded.at(tableName);
        rows.resize(l.rows.rowCount(), int(names.size()));
        for (int r = 0; r < l.rows.rowCount(); ++r)
            for (int c = 0; c < names.size(); ++c)
                rows.set(r, c, l.rows.value(r, int(table->columns.indexOf(names.at(c)))));
        return rows;
    }
    // Rows that cannot be read are checked as none.
    (void)db.query(QStringLiteral("SELECT %1 FROM %2").arg(columnList(*table, names), tableName), rows);
    return rows;
}

QStringList crossProblems(Database& db, const StoreLayout& store, const Loaded& loaded)
{
    QStringList found;
    if (loaded.count(QStringLiteral("Product"))) {
        const QueryTable groups =
            columns(db, loaded, store, QStringLiteral("PGroup"), {QStringLiteral("Pkey")});
        QSet<qint64> keys;
        for (int r = 0; r < groups.rowCount(); ++r)
            keys.insert(groups.integer(r, 0));
        const LoadedTable& products = loaded.at(QStringLiteral("Product"));
        const int fkey = int(products.table->columns.indexOf(QStringLiteral("fkey")));
        for (int r = 0; r < products.rows.rowCount() && found.size() < ProblemLimit; ++r)
            if (!keys.contains(products.rows.integer(r, fkey)))
                found << products.path + QStringLiteral(": ") +
                             CsvFile::at(products.lines.at(r), QStringLiteral("fkey")) +
                             QStringLiteral("нет группы продуктов с ключом %1")
                                 .arg(products.rows.text(r, fkey));
    }
    if (loaded.count(QStringLiteral("power"))) {
        const QueryTable types = columns(db, loaded, store, QStringLiteral("equipment"),
                                         {QStringLiteral("Pkey"), QStringLiteral("model")});
        QHash<qint64, QString> series;
        for (int r = 0; r < types.rowCount(); ++r)
            series.insert(types.integer(r, 0), types.text(r, 1));
        const LoadedTable& power = loaded.at(QStringLiteral("power"));
        QVector<CapacityTable::Row> rows;
        rows.reserve(power.rows.rowCount());
        for (int r = 0; r < power.rows.rowCount(); ++r)
            rows.append({power.rows.text(r, 1), power.rows.number(r, 2), power.rows.number(r, 3),
                         power.rows.number(r, 4), power.rows.number(r, 5), power.rows.integer(r, 6),
                         power.lines.at(r)});
        for (const QString& problem : CapacityTable::problems(rows, series, ProblemLimit - int(found.size())))
            found << power.path + QStringLiteral(": ") + problem;
    }
    return found;
}

ToolOutcome write(Database& db, const QList<const LoadedTable*>& tables, bool replace, QStringList& lines)
{
    for (const LoadedTable* t : tables) {
        QueryTable count;
        if (db.query(QStringLiteral("SELECT COUNT(*) FROM %1").arg(t->table->name), count).valueOr(-1) != 1)
            return {StatusRefused, QStringLiteral("table %1 cannot be counted").arg(t->table->name)};
        const qint64 held = count.integer(0, 0);
        // A new store's refrigerants are replaced without asking.
        if (!replace && held != 0 && held != t->table->seedRows)
            return {StatusTargetNotEmpty,
                    QStringLiteral("the store already holds rows of table %1; --replace deletes them")
                        .arg(t->table->name)};
        if (const Result<void> emptied = db.execute(QStringLiteral("DELETE FROM %1").arg(t->table->name));
            !emptied)
            return StoreAccess::outcomeOf(QStringLiteral("table %1").arg(t->table->name), emptied.failure());
        const ToolOutcome outcome = insertRows(db, *t->table, t->rows, true);
        if (!outcome.ok())
            return outcome;
        lines << QStringLiteral("%1: %2 rows loaded").arg(t->table->name).arg(t->rows.rowCount());
    }
    return {};
}

} // namespace

ToolOutcome importStore(const QString& folder, const QString& to, const ImportOptions& options,
                        const std::function<void(const QString& line)>& report)
{
    const DatabaseAddress target = DatabaseAddress::parse(to);
    std::unique_ptr<Database> db;
    QList<StoreKind> stores;
    ToolOutcome outcome = StoreAccess::openHolding(target, db, stores);
    if (!outcome.ok())
        return outcome;
    QList<const LoadedTable*> order;
    std::map<StoreKind, Loaded> loaded;
    for (StoreKind kind : stores) {
        for (const StoreTable& table : StoreLayout::of(kind).tables) {
            const QString path = QDir(folder).filePath(table.name + QStringLiteral(".csv"));
            QFile file(path);
            if (!file.exists())
                continue;
            if (StoreAccess::lacks(*db, table))
                return {StatusRefused, QStringLiteral("%1: the store was made before table %2 and lacks it")
                                           .arg(path, table.name)};
            if (!file.open(QIODevice::ReadOnly))
                return {StatusRefused, QStringLiteral("%1: %2").arg(path, file.errorString())};
            QString problem;
            const std::optional<CsvFile::Table> csv = CsvFile::read(file.readAll(), &problem);
            LoadedTable& entry = loaded[kind][table.name];
            entry.table = &table;
            entry.path = path;
            if (csv && csv->rows.isEmpty() && options.replace && !options.allowEmpty)
                problem = QStringLiteral("holds no rows, and --replace would empty table %1; "
                                         "--allow-empty loads it")
                              .arg(table.name);
            else if (csv)
                problem = load(table, *csv, entry);
            if (!problem.isEmpty())
                return {StatusUsage, QStringLiteral("%1: %2").arg(path, problem)};
            order << &entry;
        }
    }
    if (order.isEmpty())
        return {StatusUsage, QStringLiteral("%1 holds no <table>.csv of the store in %2")
                                 .arg(folder, StoreAccess::describe(target))};
    for (const auto& [kind, tables] : loaded) {
        const QStringList problems = crossProblems(*db, StoreLayout::of(kind), tables);
        if (!problems.isEmpty())
            return {StatusUsage, problems.join(QLatin1Char('\n'))};
    }
    WriteAttempt attempt;
    if (const Result<void> begun = attempt.begin(*db); !begun)
        return StoreAccess::outcomeOf(QStringLiteral("the store refused a transaction"), begun.failure());
    QStringList lines;
    outcome = write(*db, order, options.replace, lines);
    if (!outcome.ok()) {
        attempt.rollback();
        return outcome;
    }
    if (!(outcome = StoreAccess::commitWrite(attempt, QStringLiteral("the import"), report)).ok())
        return outcome;
    for (const QString& line : std::as_const(lines))
        report(line);
    return {};
}
