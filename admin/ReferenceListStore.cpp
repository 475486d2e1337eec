#include "ReferenceListStore.h"

#include "AdminSession.h"
#include "EditRequest.h"
#include "Functions.h"
#include "ProductStore.h"
#include "SimpleList.h"
#include "SqlLiteral.h"

namespace {

QString flatListQuery(const SimpleList& list)
{
    if (list.table == QLatin1String("article"))
        return QStringLiteral("SELECT Pkey,s_name,s_value FROM article WHERE cls_n=%1 ORDER BY s_name")
            .arg(int(Functions::KindInsulation));
    if (list.table == QLatin1String("curtain"))
        return QStringLiteral("SELECT Pkey,text_ru,c_value FROM curtain ORDER BY text_ru");
    return QStringLiteral("SELECT Pkey,text_ru,mass,thermal FROM packing ORDER BY text_ru");
}

// Packing reads thermal into column 1 and mass into column 2: the second box
// is "Масса тары" (thermal), the value box "Теплоемкость тары" (mass).
QString flatRecordQuery(const SimpleList& list, qint64 key)
{
    if (list.hasSecondValue)
        return QStringLiteral("SELECT text_ru,thermal,mass FROM packing WHERE Pkey=") +
               SqlLiteral::integer(key);
    return QStringLiteral("SELECT %1,pkey,%2 FROM %3 WHERE Pkey=")
               .arg(list.nameColumn, list.valueColumn, list.table) +
           SqlLiteral::integer(key);
}

QString flatInsert(const SimpleList& list, const ReferenceListStore::Values& v)
{
    if (list.table == QLatin1String("article"))
        return QStringLiteral("INSERT INTO article(s_name,s_value,cls_n) VALUES (") +
               SqlLiteral::text(v.name) + QLatin1Char(',') + SqlLiteral::number(v.value) + QLatin1Char(',') +
               SqlLiteral::integer(Functions::KindInsulation) + QLatin1Char(')');
    if (list.table == QLatin1String("curtain"))
        return QStringLiteral("INSERT INTO curtain(text_ru,c_value) VALUES (") + SqlLiteral::text(v.name) +
               QLatin1Char(',') + SqlLiteral::number(v.value) + QLatin1Char(')');
    return QStringLiteral("INSERT INTO packing(text_ru,mass,thermal) VALUES (") + SqlLiteral::text(v.name) +
           QLatin1Char(',') + SqlLiteral::number(v.value) + QLatin1Char(',') + SqlLiteral::number(v.second) +
           QLatin1Char(')');
}

QString flatUpdate(const SimpleList& list, const ReferenceListStore::Values& v, qint64 key)
{
    QString sql = QStringLiteral("UPDATE %1 SET %2=").arg(list.table, list.nameColumn) +
                  SqlLiteral::text(v.name) + QStringLiteral(",  %1=").arg(list.valueColumn) +
                  SqlLiteral::number(v.value);
    if (list.hasSecondValue)
        sql += QStringLiteral(", thermal=") + SqlLiteral::number(v.second);
    return sql + QStringLiteral(" WHERE Pkey=") + SqlLiteral::integer(key);
}

QString upperListQuery(bool equipment)
{
    return equipment ? QStringLiteral("SELECT Pkey,text_ru,model FROM Equipment ORDER BY text_ru")
                     : QStringLiteral("SELECT Pkey,text_ru FROM PGroup ORDER BY text_ru");
}

QString upperRecordQuery(bool equipment, qint64 key)
{
    return (equipment ? QStringLiteral("SELECT text_ru,pkey,model,picture,scheme FROM equipment WHERE Pkey=")
                      : QStringLiteral("SELECT text_ru,pkey FROM PGroup WHERE Pkey=")) +
           SqlLiteral::integer(key);
}

QString upperInsert(bool equipment, const ReferenceListStore::Values& v)
{
    if (!equipment)
        return QStringLiteral("INSERT INTO PGroup(text_ru) VALUES (") + SqlLiteral::text(v.name) +
               QLatin1Char(')');
    return QStringLiteral("INSERT INTO equipment(text_ru,model,picture,scheme) VALUES (") +
           SqlLiteral::text(v.name) + QLatin1Char(',') + SqlLiteral::text(v.model) + QLatin1Char(',') +
           SqlLiteral::text(v.picture) + QLatin1Char(',') + SqlLiteral::text(v.scheme) + QLatin1Char(')');
}

QString upperUpdate(bool equipment, const ReferenceListStore::Values& v, qint64 key)
{
    if (!equipment)
        return QStringLiteral("UPDATE PGroup SET text_ru=") + SqlLiteral::text(v.name) +
               QStringLiteral(" WHERE Pkey=") + SqlLiteral::integer(key);
    return QStringLiteral("UPDATE equipment SET text_ru=") + SqlLiteral::text(v.name) +
           QStringLiteral(",  model=") + SqlLiteral::text(v.model) + QStringLiteral(", picture=") +
           SqlLiteral::text(v.picture) + QStringLiteral(", scheme=") + SqlLiteral::text(v.scheme) +
           QStringLiteral(" WHERE Pkey=") + SqlLiteral::integer(key);
}

QString productListQuery(qint64 groupKey)
{
    return QStringLiteral("SELECT pkey, text_ru FROM Product WHERE fkey=") + SqlLiteral::integer(groupKey) +
           QStringLiteral(" ORDER BY text_ru");
}

QString modelListQuery(qint64 typeKey)
{
    return QStringLiteral("SELECT DISTINCT model,modification FROM power WHERE fkey=") +
           SqlLiteral::integer(typeKey) + QStringLiteral(" ORDER BY model,modification");
}

} // namespace

ReferenceListStore::ReferenceListStore(AdminSession& session, int kind)
    : m_session(session), m_kind(kind), m_list(SimpleList::forKind(kind))
{}

bool ReferenceListStore::isEquipment() const
{
    return m_kind == Functions::KindEquipment;
}

QString ReferenceListStore::listQuery() const
{
    return m_list ? flatListQuery(*m_list) : upperListQuery(isEquipment());
}

QString ReferenceListStore::insertStatement(const Values& values) const
{
    return m_list ? flatInsert(*m_list, values) : upperInsert(isEquipment(), values);
}

QString ReferenceListStore::updateStatement(const Values& values, qint64 key) const
{
    return m_list ? flatUpdate(*m_list, values, key) : upperUpdate(isEquipment(), values, key);
}

QString ReferenceListStore::deleteStatement(qint64 key) const
{
    const QString table =
        m_list ? m_list->table : (isEquipment() ? QStringLiteral("equipment") : QStringLiteral("PGroup"));
    return QStringLiteral("DELETE FROM %1 WHERE Pkey=").arg(table) + SqlLiteral::integer(key);
}

Result<int> ReferenceListStore::entries(QueryTable& rows) const
{
    return m_session.query(listQuery(), rows);
}

Result<int> ReferenceListStore::entry(qint64 key, QueryTable& row) const
{
    return m_session.query(m_list ? flatRecordQuery(*m_list, key) : upperRecordQuery(isEquipment(), key),
                           row);
}

Result<void> ReferenceListStore::save(const EditRequest& request, const Values& values, qint64* newKey) const
{
    if (!request.adding)
        return m_session.execSqlChanging(updateStatement(values, request.key));
    const Result<qint64> inserted = m_session.insertRow(insertStatement(values));
    if (!inserted)
        return inserted.failure();
    if (newKey)
        *newKey = inserted.value();
    return {};
}

Result<void> ReferenceListStore::remove(qint64 key) const
{
    return m_session.execSqlChanging(deleteStatement(key));
}

Result<int> ReferenceListStore::lowerEntries(qint32 parentKey, QueryTable& rows) const
{
    return m_session.query(isEquipment() ? modelListQuery(parentKey) : productListQuery(parentKey), rows);
}

Result<int> ReferenceListStore::groupsWithProducts(QueryTable& rows) const
{
    return m_session.query(
        QStringLiteral("SELECT g.Pkey, g.text_ru, p.pkey, p.text_ru FROM PGroup g LEFT JOIN Product p ON "
                       "p.fkey = g.Pkey ORDER BY g.text_ru, g.Pkey, p.text_ru, p.pkey"),
        rows);
}

Result<void> ReferenceListStore::removeProduct(qint64 key) const
{
    return m_session.execSqlChanging(ProductStore::deleteStatement(key));
}

Result<void> ReferenceListStore::removeModel(qint32 typeKey, const QString& model, double modification) const
{
    return m_session.execSqlChanging(QStringLiteral("DELETE FROM Power WHERE Fkey=") +
                                     SqlLiteral::integer(typeKey) + QStringLiteral(" AND model=") +
                                     SqlLiteral::text(model) + QStringLiteral(" AND modification=") +
                                     SqlLiteral::number(modification));
}

Result<QString> ReferenceListStore::series(qint32 typeKey) const
{
    QueryTable row;
    const Result<int> found = m_session.query(
        QStringLiteral("SELECT model FROM Equipment WHERE pkey=") + SqlLiteral::integer(typeKey), row);
    if (!found)
        return found.failure();
    return found.value() > 0 ? row.text(0, 0).left(2) : QString();
}
