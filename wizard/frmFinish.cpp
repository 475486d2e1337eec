#include "frmFinish.h"

#include "Wizard.h"

frmFinish::frmFinish(Wizard& wizard, QWidget* parent) : QWidget(parent), m_wizard(wizard)
{
    setObjectName(QStringLiteral("frmFinish"));
    setWindowTitle(QStringLiteral("Результат расчета тепловой нагрузки и выбора оборудования"));
}
