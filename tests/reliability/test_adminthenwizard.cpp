// The two programs meet only in the program folder: an equipment type with
// its pictures and a capacity table added through the administrator's
// editors is offered by the wizard's equipment screen and selected by its
// calculation.
#include "AdminTestBase.h"
#include "WizardFixture.h"
#include "frmCls1Edit.h"
#include "frmEqEdit.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QtTest>

using Admin = AdminTestBase;

class TestAdminThenWizard : public QObject
{
    Q_OBJECT

private slots:
    void typeAddedByTheAdministratorIsOfferedAndSelected()
    {
        WizardFixture f;
        QVERIFY(f.isOpen());
        f.addChamberLists();
        f.addProductLists();
        f.addCustomer(QStringLiteral("Холодторг"));
        // A picture from elsewhere, as a user would choose it.
        QVERIFY(QDir(f.folder()).mkpath(QStringLiteral("photos")));
        const QString photo = QDir(f.folder()).filePath(QStringLiteral("photos/new unit.jpg"));
        QVERIFY(QFile::copy(QStringLiteral(FROSTPICK_DATA_DIR "/pictures/km.jpg"), photo));

        // The administrator: the first type with its pictures, then one model.
        AdminSession admin;
        QVERIFY(admin.open(DataLocation::folder(f.folder())));
        {
            frmMain main(admin);
            main.show();
            main.findChild<QAction*>(QStringLiteral("mOb"))->trigger(); // no type yet: the editor opens
            frmCls1Edit* typeEditor = Admin::shownEditor<frmCls1Edit>();
            QVERIFY(typeEditor);
            Admin::type(typeEditor, "Text1", QStringLiteral("Моноблок морозильный новый"));
            Admin::type(typeEditor, "Text2", QStringLiteral("KM"));
            f.messages.queueFileName(photo);
            Admin::click(typeEditor, "Image1");
            f.messages.queueFileName(photo);
            Admin::click(typeEditor, "Image2");
            Admin::click(typeEditor, "cmbSave");
            QVERIFY(!Admin::shownEditor<frmCls1Edit>());

            main.findChild<QAction*>(QStringLiteral("mOb"))->trigger();
            QWidget* window = main.listWindow();
            QVERIFY(window);
            Admin::click(window, "cmbAdd");
            frmEqEdit* capacities = Admin::shownEditor<frmEqEdit>();
            QVERIFY(capacities);
            Admin::type(capacities, "Text18", QStringLiteral("K")); // another refrigerant below -8 °C
            Admin::type(capacities, "Text2", QStringLiteral("50"));
            for (int k = 0; k < 9; ++k)
                Admin::type(capacities, QStringLiteral("Text%1").arg(9 + k).toLatin1().constData(),
                            QString::number(30000 + 100 * k));
            Admin::click(capacities, "Command1");
            QVERIFY(!Admin::shownEditor<frmEqEdit>());
        }
        admin.close();
        QVERIFY2(f.messages.shown().isEmpty(), qPrintable(f.messages.texts().join(QLatin1Char('|'))));
        QVERIFY(QFile::exists(QDir(f.folder()).filePath(QStringLiteral("new unit.jpg"))));

        // The wizard, on the same files.
        f.wizard->start();
        f.enterChamber();
        f.enterProduct();
        f.enterEquipment();
        QCOMPARE(f.screenName(), QStringLiteral("frmStage4"));
        QVERIFY(f.list(QStringLiteral("Combo7"))->findText(QStringLiteral("Моноблок морозильный новый")) >=
                0);
        f.choose(QStringLiteral("Combo7"), QStringLiteral("Моноблок морозильный новый"));
        f.choose(QStringLiteral("Combo1"), QStringLiteral("R404a"));
        QCOMPARE(f.record.xo_picture, QStringLiteral("new unit.jpg"));
        f.click(QStringLiteral("cmbNext"));
        QCOMPARE(f.screenName(), QStringLiteral("frmFinish"));
        QCOMPARE(f.record.sel_model, QStringLiteral("KMK"));
        QCOMPARE(f.record.sel_modification, QStringLiteral("050"));
        QVERIFY(f.record.verdict.isEmpty());
        QCOMPARE(f.control<QLabel>(QStringLiteral("Label30"))->text(),
                 QStringLiteral("Моноблок морозильный новый модель KMK050 в количестве 1 шт."));
    }
};

QTEST_MAIN(TestAdminThenWizard)
#include "test_adminthenwizard.moc"
