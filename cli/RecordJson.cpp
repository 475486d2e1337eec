#include "RecordJson.h"

#include "CalculationRecord.h"
#include "JsonLine.h"
#include "OrderColumns.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The input fields: the saved columns except the customer, and the group.
const OrderColumn* findInputField(const QString& key)
{
    static const OrderColumn group{"px_pgroup", nullptr, &CalculationRecord::px_pgroup};
    if (key == QLatin1String(group.name))
        return &group;
    for (const OrderColumn& c : OrderColumns)
        if (key == QLatin1String(c.name) && key != QLatin1String("contact"))
            return &c;
    return nullptr;
}

// The second opinion's assumptions, each optional.
bool readAssumptions(const QJsonValue& value, SecondOpinionAssumptions& a, QString* error)
{
    if (!value.isObject()) {
        *error = QStringLiteral("field \"second_opinion\" must be an object");
        return false;
    }
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const auto* field =
            std::find_if(std::begin(AssumptionFields), std::end(AssumptionFields),
                         [&](const AssumptionField& f) { return it.key() == QLatin1String(f.key); });
        if (field == std::end(AssumptionFields)) {
            *error = QStringLiteral("unknown field \"second_opinion.%1\"").arg(it.key());
            return false;
        }
        const double number = it.value().toDouble(-1);
        if (!it.value().isDouble() || number < field->low || number > field->high) {
            *error = QStringLiteral("field \"second_opinion.%1\" must be a number within %2..%3")
                         .arg(it.key())
                         .arg(field->low)
                         .arg(field->high);
            return false;
        }
        a.*field->value = number;
    }
    return true;
}

bool readField(const QString& key, const QJsonValue& value, CalculationRecord& r, QString* error)
{
    if (key == QLatin1String("second_opinion"))
        return readAssumptions(value, r.secondOpinion, error);
    const OrderColumn* field = findInputField(key);
    if (!field) {
        *error = QStringLiteral("unknown field \"%1\"").arg(key);
        return false;
    }
    if (!value.isDouble()) {
        *error = QStringLiteral("field \"%1\" must be a number").arg(key);
        return false;
    }
    const double number = value.toDouble();
    if (field->real) {
        r.*field->real = number;
        return true;
    }
    if (std::floor(number) != number || number < std::numeric_limits<qint16>::min() ||
        number > std::numeric_limits<qint16>::max()) {
        *error = QStringLiteral("field \"%1\" must be a whole number within -32768..32767").arg(key);
        return false;
    }
    r.*field->whole = qint16(number);
    return true;
}

} // namespace

bool readInputRecord(const QByteArray& json, CalculationRecord& r, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error =
            QStringLiteral("bad JSON at offset %1: %2").arg(parseError.offset).arg(parseError.errorString());
        return false;
    }
    if (!document.isObject()) {
        *error = QStringLiteral("the input must be one JSON object");
        return false;
    }
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it)
        if (!readField(it.key(), it.value(), r, error))
            return false;
    if (!object.contains(QLatin1String("xk_bulk")))
        r.xk_bulk = r.xk_length * r.xk_width * r.xk_height;
    return true;
}

bool recordToJson(const CalculationRecord& r, const QString& selText, JsonLine& j, QString* error)
{
    j.clear();
    j.add("xk_bulk", r.xk_bulk);
    j.add("xk_length", r.xk_length);
    j.add("xk_width", r.xk_width);
    j.add("xk_height", r.xk_height);
    j.add("xk_ceiling", qint64(r.xk_ceiling));
    j.add("xk_ceiling_stuff", qint64(r.xk_ceiling_stuff));
    j.add("xk_ceiling_name", r.xk_ceiling_name);
    j.add("xk_ceiling_k", r.xk_ceiling_k);
    j.add("xk_wall", qint64(r.xk_wall));
    j.add("xk_wall_stuff", qint64(r.xk_wall_stuff));
    j.add("xk_wall_name", r.xk_wall_name);
    j.add("xk_wall_k", r.xk_wall_k);
    j.add("xk_floor", qint64(r.xk_floor));
    j.add("xk_floor_stuff", qint64(r.xk_floor_stuff));
    j.add("xk_floor_name", r.xk_floor_name);
    j.add("xk_floor_k", r.xk_floor_k);
    j.add("xk_doors", r.xk_doors);
    j.add("xk_doors_open", r.xk_doors_open);
    j.add("xk_curtain", qint64(r.xk_curtain));
    j.add("xk_curtain_name", r.xk_curtain_name);
    j.add("xk_curtain_c", r.xk_curtain_c);
    j.add("xk_temperature", r.xk_temperature);
    j.add("xk_people", r.xk_people);
    j.add("xk_heat", qint64(r.xk_heat));
    j.add("by_temperature", r.by_temperature);
    j.add("by_moisture", qint64(r.by_moisture));
    j.add("by_ground", r.by_ground);
    j.add("px_pgroup", qint64(r.px_pgroup));
    j.add("px_product", qint64(r.px_product));
    j.add("px_product_name", r.px_product_name);
    j.add("px_time", qint64(r.px_time));
    j.add("px_start_t", qint64(r.px_start_t));
    j.add("px_end_t", qint64(r.px_end_t));
    j.add("px_weight", r.px_weight);
    j.add("px_turnover", qint64(r.px_turnover));
    j.add("px_packing", qint64(r.px_packing));
    j.add("px_packing_name", r.px_packing_name);
    j.add("co", r.co);
    j.add("cz", r.cz);
    j.add("cwr", r.cwr);
    j.add("tko", r.tko);
    j.add("tnz", r.tnz);
    j.add("td0", r.td0);
    j.add("td2", r.td2);
    j.add("td5", r.td5);
    j.add("td15", r.td15);
    j.add("packing_mass", r.packing_mass);
    j.add("packing_thermal", r.packing_thermal);
    j.add("xo_type1", qint64(r.xo_type1));
    j.add("xo_type2", qint64(r.xo_type2));
    j.add("xo_gas", r.xo_gas);
    j.add("xo_count", qint64(r.xo_count));
    j.add("xo_power", qint64(r.xo_power));
    j.add("xo_work", qint64(r.xo_work));
    j.add("xo_series", r.xo_series);
    j.add("xo_type_name", r.xo_type_name);
    j.add("t_class", qint64(r.t_class));
    j.add("xo_picture", r.xo_picture);
    j.add("xo_scheme", r.xo_scheme);
    j.add("contact", qint64(r.contact));
    j.add("contact_organization", r.contact_organization);
    j.add("contact_city", r.contact_city);
    j.add("contact_phones", r.contact_phones);
    j.add("contact_email", r.contact_email);
    j.add("contact_name", r.contact_name);
    j.add("onote", r.onote);
    j.add("pkey_data", qint64(r.pkey_data));
    j.add("NewCalculation", r.NewCalculation);
    j.add("NewContact", r.NewContact);
    j.add("q_ceiling", qint64(r.q_ceiling));
    j.add("q_walls", qint64(r.q_walls));
    j.add("q_floor", qint64(r.q_floor));
    j.add("q_cooling", qint64(r.q_cooling));
    j.add("q_freezing", qint64(r.q_freezing));
    j.add("q_frozen_cooling", qint64(r.q_frozen_cooling));
    j.add("q_respiration", qint64(r.q_respiration));
    j.add("q_product", qint64(r.q_product));
    j.add("q_sources", qint64(r.q_sources));
    j.add("q_staff", qint64(r.q_staff));
    j.add("q_packing", qint64(r.q_packing));
    j.add("q_doors", qint64(r.q_doors));
    j.add("q_extra", qint64(r.q_extra));
    j.add("q_total", qint64(r.q_total));
    j.add("q_unit_required", r.q_unit_required);
    j.add("sel_model", r.sel_model);
    j.add("sel_modification", r.sel_modification);
    j.add("unit_capacity", r.unit_capacity);
    j.add("verdict", r.verdict);
    j.add("sel_text", selText);
    if (j.badField()) {
        *error = QStringLiteral("%1 is not a finite number").arg(QLatin1String(j.badField()));
        return false;
    }
    return true;
}
