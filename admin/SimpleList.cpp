#include "SimpleList.h"

#include "Functions.h"

const SimpleList* SimpleList::forKind(int kind)
{
    static const SimpleList insulation{QStringLiteral("article"),
                                       QStringLiteral("Теплоизоляция"),
                                       QStringLiteral("s_name"),
                                       QStringLiteral("Теплоизоляционный материал"),
                                       QStringLiteral("Теплопроводность"),
                                       QStringLiteral("s_value"),
                                       false,
                                       {}};
    static const SimpleList curtain{QStringLiteral("curtain"),
                                    QStringLiteral("Занавесь"),
                                    QStringLiteral("text_ru"),
                                    QStringLiteral("Тип занавеси"),
                                    QStringLiteral("Коэффициент уменьшения потерь холода через дверь"),
                                    QStringLiteral("c_value"),
                                    false,
                                    {}};
    static const SimpleList packing{QStringLiteral("packing"),
                                    QStringLiteral("Упаковка"),
                                    QStringLiteral("text_ru"),
                                    QStringLiteral("Тип упаковки"),
                                    QStringLiteral("Теплоемкость тары"),
                                    QStringLiteral("mass"),
                                    true,
                                    QStringLiteral("thermal")};
    switch (kind) {
    case Functions::KindInsulation:
        return &insulation;
    case Functions::KindCurtain:
        return &curtain;
    case Functions::KindPacking:
        return &packing;
    default:
        return nullptr;
    }
}
