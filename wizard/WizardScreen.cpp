#include "WizardScreen.h"

#include "LabelNames.h"
#include "LeaveCheck.h"
#include "WindowPlacement.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

namespace {

// Selects the text once the focus has settled: a mouse click into the box
// would otherwise put the cursor at the click and drop the selection.
class SelectAllFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto* box = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
        }
        return false;
    }
};

} // namespace

WizardScreen::WizardScreen(CalculationContext& context, CalculationRecord& record, QWidget* parent)
    : QWidget(parent), m_context(context), m_record(record)
{}

void WizardScreen::setUpScreen(QPushButton* nextButton, QPushButton* backButton, QPushButton* cancelButton)
{
    LabelNames::apply(this);
    WindowPlacement::centreOnDisplay(this);
    connect(nextButton, &QPushButton::clicked, this, &WizardScreen::nextButton_Click);
    if (backButton) {
        connect(backButton, &QPushButton::clicked, this, &WizardScreen::backButton_Click);
        m_escapes << backButton;
    }
    connect(cancelButton, &QPushButton::clicked, this, &WizardScreen::cancelButton_Click);
    m_escapes << cancelButton;
}

void WizardScreen::selectAllOnFocus(const QList<QLineEdit*>& except)
{
    auto* filter = new SelectAllFilter(this);
    const auto boxes = findChildren<QLineEdit*>();
    for (QLineEdit* box : boxes) {
        if (except.contains(box) || qobject_cast<QComboBox*>(box->parentWidget()))
            continue;
        box->installEventFilter(filter);
    }
}

void WizardScreen::checkOnLeave(QLineEdit* box, std::function<void()> update, std::function<bool()> check)
{
    m_leaveChecks << new LeaveCheck(box, std::move(update), std::move(check), m_escapes);
}

bool WizardScreen::leaveChecksPass()
{
    for (LeaveCheck* check : std::as_const(m_leaveChecks)) {
        if (!check->confirm())
            return false;
    }
    return true;
}

void WizardScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        Form_Activate();
}
