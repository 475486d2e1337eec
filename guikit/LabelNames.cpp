#include "LabelNames.h"

#include <QLabel>
#include <QVariant>

namespace {
constexpr char FromLabel[] = "accessibleNameFromLabel";
}

namespace LabelNames {

void apply(QWidget* form)
{
    const auto labels = form->findChildren<QLabel*>();
    for (QLabel* label : labels) {
        QWidget* buddy = label->buddy();
        if (!buddy || (!buddy->accessibleName().isEmpty() && !buddy->property(FromLabel).toBool()))
            continue;
        buddy->setAccessibleName(label->text().remove(QLatin1Char('&')).simplified());
        buddy->setProperty(FromLabel, true);
    }
}

} // namespace LabelNames
