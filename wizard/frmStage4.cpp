#include "frmStage4.h"

#include "Wizard.h"

frmStage4::frmStage4(Wizard& wizard, QWidget* parent) : QWidget(parent), m_wizard(wizard)
{
    setObjectName(QStringLiteral("frmStage4"));
    setWindowTitle(QStringLiteral("Холодильное оборудование"));
}
