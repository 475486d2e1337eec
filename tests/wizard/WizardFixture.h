#pragma once

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "FakeMessages.h"
#include "Wizard.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <initializer_list>
#include <memory>
#include <utility>

// A wizard on databases of its own: empty schema databases in a temporary
// folder opened into a context, a record with start values, messages
// answered by FakeMessages, today fixed at 2024-03-05 and the C locale. Tests add the
// rows they need with reference()/orders() before they start the wizard.
// Quitting is recorded in quitCount instead of ending the test.
class WizardFixture
{
public:
    WizardFixture();
    ~WizardFixture();

    bool isOpen() const { return m_open; }
    // The program folder: the two databases and the pictures.
    QString folder() const { return m_dir.path(); }

    // Runs a statement on the reference or the orders database.
    bool reference(const QString& sql);
    bool orders(const QString& sql);

    // Reference rows that the chamber and product screens need (keys below).
    void addChamberLists();
    void addProductLists();
    // One KM type whose modifications 20 and 35 rate 20 and 40 kW at every
    // point; at -18 °C with R22 its model code is KMB.
    void addUnits();
    // A customer and a saved calculation of a customer; both return the key.
    qint32 addCustomer(const QString& organization, const QString& city = {}, const QString& phones = {},
                       const QString& email = {}, const QString& name = {});
    qint32 addCalculation(qint32 customer, const QString& odate, const QString& note,
                          double temperature = -18);
    int rowCount(const QString& table);
    // "name=value" of every saved column of the record, or of those the
    // expected "name=value" list names, in its order: a failed comparison
    // names the field.
    QStringList columns(const QStringList& expected = {}) const;

    // The screen shown now, its objectName and a control of it by objectName.
    QWidget* screen() const { return wizard->currentScreen(); }
    QString screenName() const;
    template <class T> T* control(const QString& name) const
    {
        return screen() ? screen()->findChild<T*>(name) : nullptr;
    }
    QLineEdit* box(const QString& name) const { return control<QLineEdit>(name); }
    QComboBox* list(const QString& name) const { return control<QComboBox>(name); }

    // User actions on the screen shown now.
    void click(const QString& button);
    void type(const QString& box, const QString& text); // replaces the box's text
    void type(std::initializer_list<std::pair<const char*, const char*>> boxesAndTexts); // in this order
    static void keys(QWidget* widget, const QString& text); // typed key by key, any letters
    void choose(const QString& list, const QString& itemText);
    bool activate();                // makes the screen the active window
    bool leave(const QString& box); // focus into the box, then Tab out
    QWidget* focused() const;       // the screen's focus widget

    // The way forward with valid inputs, for tests of later screens.
    void enterChamber();   // frmStage0 -> frmStage3 with the first customer
    void enterProduct();   // ... -> frmStage1: 5 x 4 x 3 m, -18 °C
    void enterEquipment(); // ... -> frmStage4: 20 -> -18 °C, 24 h, 2.5 t, 10 %

    CalculationContext context;
    CalculationRecord record;
    FakeMessages messages;
    std::unique_ptr<Wizard> wizard;
    int quitCount = 0;

    // Keys of the rows of addChamberLists and addProductLists.
    static constexpr qint16 MineralWool = 1, Polyurethane = 2, Foam = 3, Brick = 4;
    static constexpr qint16 NoCurtain = 1, PvcCurtain = 2;
    static constexpr qint16 Meat = 1, Vegetables = 2, EmptyGroup = 3;
    static constexpr qint16 Beef = 1, Pork = 2, Apples = 3;
    static constexpr qint16 Cardboard = 1, Unpacked = 2;

private:
    QTemporaryDir m_dir;
    bool m_open = false;
};

// Base of the wizard's test classes: a fresh fixture before each test
// function, given the rows its tests need by prepare(), and no question left
// unanswered after it.
class WizardTest : public QObject
{
    Q_OBJECT
protected:
    virtual void prepare() {}
    // The sample databases, made in m_sample, in place of the fixture's empty ones.
    void useSampleDatabases();
    std::unique_ptr<WizardFixture> f;
    std::unique_ptr<QTemporaryDir> m_sample;

protected slots:
    void init();
    void cleanup();
};
