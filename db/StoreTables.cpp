#include "StoreTables.h"

#include <initializer_list>

namespace {

struct Column
{
    const char* name;
    ColumnType type;
};

constexpr ColumnType Integer = ColumnType::Integer;
constexpr ColumnType Real = ColumnType::Real;
constexpr ColumnType Numeric = ColumnType::Numeric;
constexpr ColumnType Text = ColumnType::Text;

// The key, an integer, comes first.
StoreTable table(const char* name, const char* key, std::initializer_list<Column> columns, int seedRows = 0,
                 const QStringList& indexes = {})
{
    StoreTable result{QLatin1String(name), {QLatin1String(key)}, {Integer}, seedRows, indexes};
    for (const Column& column : columns) {
        result.columns << QLatin1String(column.name);
        result.types << column.type;
    }
    return result;
}

StoreTable addedLater(StoreTable table)
{
    table.addedLater = true;
    return table;
}

} // namespace

namespace StoreTables {

const QList<StoreTable>& reference()
{
    static const QList<StoreTable> tables{
        table("article", "Pkey", {{"s_name", Text}, {"s_value", Real}, {"cls_n", Integer}}),
        table("curtain", "Pkey", {{"text_ru", Text}, {"c_value", Real}}),
        table("packing", "Pkey", {{"text_ru", Text}, {"mass", Real}, {"thermal", Real}}),
        table("PGroup", "Pkey", {{"text_ru", Text}}),
        // The wizard reads a product by column position.
        table("Product", "pkey",
              {{"text_en", Text},
               {"text_it", Text},
               {"text_ru", Text},
               {"co", Real},
               {"cz", Real},
               {"cwr", Real},
               {"tko", Real},
               {"tnz", Real},
               {"td0", Real},
               {"td2", Real},
               {"td5", Real},
               {"td15", Real},
               {"fkey", Integer}},
              0, {QStringLiteral("fkey")}),
        // The two refrigerants the equipment screen offers.
        table("gas", "pkey", {{"model", Text}}, 2),
        table("equipment", "Pkey", {{"text_ru", Text}, {"model", Text}, {"picture", Text}, {"scheme", Text}}),
        table("power", "pkey",
              {{"model", Text},
               {"modification", Numeric},
               {"in_t", Numeric},
               {"out_t", Numeric},
               {"power", Real},
               {"fkey", Integer}},
              0, {QStringLiteral("model, out_t, modification")}),
    };
    return tables;
}

const QList<StoreTable>& orders()
{
    static const QList<StoreTable> tables{
        table("contact", "pkey",
              {{"organization", Text}, {"city", Text}, {"phones", Text}, {"email", Text}, {"name", Text}}),
        table("data", "pkey", {{"xk_bulk", Real},        {"xk_length", Real},
                               {"xk_width", Real},       {"xk_height", Real},
                               {"xk_ceiling", Integer},  {"xk_ceiling_stuff", Integer},
                               {"xk_wall", Integer},     {"xk_wall_stuff", Integer},
                               {"xk_floor", Integer},    {"xk_floor_stuff", Integer},
                               {"xk_doors", Real},       {"xk_doors_open", Real},
                               {"xk_curtain", Integer},  {"xk_temperature", Real},
                               {"xk_people", Real},      {"xk_heat", Integer},
                               {"by_temperature", Real}, {"by_moisture", Integer},
                               {"by_ground", Real},      {"px_product", Integer},
                               {"px_time", Integer},     {"px_start_t", Integer},
                               {"px_end_t", Integer},    {"px_weight", Real},
                               {"px_turnover", Integer}, {"px_packing", Integer},
                               {"xo_type1", Integer},    {"xo_type2", Integer},
                               {"xo_count", Integer},    {"xo_power", Integer},
                               {"xo_work", Integer},     {"contact", Integer},
                               {"odate", Text},          {"onote", Text},
                               {"px_pgroup", Integer}},
              0, {QStringLiteral("contact")}),
        addedLater(
            table("second_opinion", "data_pkey",
                  {{"door_height", Real}, {"chamber_humidity", Real}, {"fans", Real}, {"defrost", Real}})),
        addedLater(table("offer", "pkey", {{"contact", Integer}, {"name", Text}, {"odate", Text}}, 0,
                         {QStringLiteral("contact")})),
        addedLater(table("offer_row", "pkey",
                         {{"offer", Integer}, {"data_pkey", Integer}, {"position", Integer}}, 0,
                         {QStringLiteral("offer")})),
    };
    return tables;
}

} // namespace StoreTables
