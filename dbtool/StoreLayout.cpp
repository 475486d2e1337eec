#include "StoreLayout.h"

namespace {

StoreLayout layout(StoreKind kind, const QString& title, const QString& sqlite, const QString& server,
                   const QList<StoreTable>& tables)
{
    const QString prefix = QStringLiteral(":/storetool/");
    return {kind, title, {prefix + sqlite, prefix + server}, tables};
}

} // namespace

QStringList StoreLayout::tableNames() const
{
    QStringList names;
    for (const StoreTable& t : tables)
        names << t.name;
    return names;
}

const StoreLayout& StoreLayout::of(StoreKind kind)
{
    static const StoreLayout reference = layout(
        StoreKind::Reference, QStringLiteral("reference store (nv.mdb)"), QStringLiteral("schema_nv.sql"),
        QStringLiteral("server_schema_nv.sql"), StoreTables::reference());
    static const StoreLayout orders = layout(
        StoreKind::Orders, QStringLiteral("orders store (order.mdb)"), QStringLiteral("schema_order.sql"),
        QStringLiteral("server_schema_order.sql"), StoreTables::orders());
    return kind == StoreKind::Reference ? reference : orders;
}

const QList<StoreKind>& StoreLayout::kinds()
{
    static const QList<StoreKind> all{StoreKind::Reference, StoreKind::Orders};
    return all;
}
