#pragma once

#include <QWidget>

class Wizard;

// Placeholder until the screen is built: keeps the flow walkable.
class frmFinish : public QWidget
{
    Q_OBJECT
public:
    explicit frmFinish(Wizard& wizard, QWidget* parent = nullptr);

private:
    Wizard& m_wizard;
};
