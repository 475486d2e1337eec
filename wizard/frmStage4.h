#pragma once

#include <QWidget>

class Wizard;

// Placeholder until the screen is built: keeps the flow walkable.
class frmStage4 : public QWidget
{
    Q_OBJECT
public:
    explicit frmStage4(Wizard& wizard, QWidget* parent = nullptr);

private:
    Wizard& m_wizard;
};
