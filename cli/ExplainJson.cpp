#include "ExplainJson.h"

#include "Explanation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

QJsonValue number(const std::optional<double>& value)
{
    return value && std::isfinite(*value) ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

const char* kindName(TraceLine::Kind kind)
{
    switch (kind) {
    case TraceLine::Kind::Step:
        return "step";
    case TraceLine::Kind::Component:
        return "component";
    case TraceLine::Kind::Sum:
        return "sum";
    case TraceLine::Kind::Note:
        return "note";
    }
    return "step";
}

void appendLines(QJsonArray& array, const char* section, const QVector<TraceLine>& lines)
{
    for (const TraceLine& line : lines) {
        array.append(QJsonObject{
            {QStringLiteral("section"), QLatin1String(section)},
            {QStringLiteral("kind"), QLatin1String(kindName(line.kind))},
            {QStringLiteral("key"), line.key},
            {QStringLiteral("name"), line.name},
            {QStringLiteral("formula"), line.formula},
            {QStringLiteral("values"), line.values},
            {QStringLiteral("result"),
             line.outcome.isEmpty() ? number(line.value) : QJsonValue(line.outcome)},
            {QStringLiteral("unit"), line.unit},
        });
    }
}

template <typename Json> QByteArray field(const char* name, const Json& value)
{
    return QByteArrayLiteral(",\"") + name + QByteArrayLiteral("\":") +
           QJsonDocument(value).toJson(QJsonDocument::Compact);
}

QJsonValue textOrNull(const QString& text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

QJsonObject secondOpinion(const SecondOpinion& o)
{
    QJsonObject assumptions;
    for (const AssumptionField& f : AssumptionFields)
        assumptions.insert(QLatin1String(f.key), number(o.assumptions.*f.value));
    return {
        {QStringLiteral("assumptions"), assumptions},
        {QStringLiteral("components"), QJsonObject{{QStringLiteral("infiltration"), number(o.infiltration)},
                                                   {QStringLiteral("people"), number(o.people)},
                                                   {QStringLiteral("fans"), number(o.fans)},
                                                   {QStringLiteral("defrost"), number(o.defrost)}}},
        {QStringLiteral("total"), number(o.total)},
        {QStringLiteral("unit_required"), number(o.unitRequired)},
        {QStringLiteral("covered"), o.covered},
        {QStringLiteral("model"), textOrNull(o.model)},
        {QStringLiteral("modification"), textOrNull(o.modification)},
    };
}

} // namespace

QByteArray explanationFields(const Explanation& e)
{
    QJsonArray trace;
    appendLines(trace, "load", e.load);
    appendLines(trace, "selection", e.selection);

    QJsonArray warnings;
    for (const CalculationWarning& w : e.warnings)
        warnings.append(QJsonObject{{QStringLiteral("code"), w.code}, {QStringLiteral("text"), w.text}});

    QJsonArray alternatives;
    for (const Alternative& a : e.alternatives)
        alternatives.append(QJsonObject{
            {QStringLiteral("type"), a.typeName},
            {QStringLiteral("model"), a.model},
            {QStringLiteral("modification"), a.modification},
            {QStringLiteral("capacity"), number(a.capacity)},
            {QStringLiteral("reserve"), number(a.capacity ? a.figures.reserve : std::nullopt)},
            {QStringLiteral("run_time"), number(a.capacity ? a.figures.runTime : std::nullopt)},
            {QStringLiteral("sufficient"), a.sufficient},
            {QStringLiteral("chosen"), a.chosen},
        });

    return field("trace", trace) + field("warnings", warnings) + field("alternatives", alternatives) +
           field("second_opinion", secondOpinion(e.secondOpinion));
}
