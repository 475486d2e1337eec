#include "AdminTestBase.h"

#include "DataLocation.h"
#include "Database.h"
#include "TestDatabases.h"
#include "frmCls1Edit.h"
#include "frmClsEdit.h"
#include "frmEqEdit.h"
#include "frmMain.h"
#include "frmPrEdit.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTest>

AdminTestBase::AdminTestBase() = default;
AdminTestBase::~AdminTestBase() = default;

void AdminTestBase::init()
{
    QLocale::setDefault(QLocale::c());
    m_messages.clear();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(TestDatabases::createEmptyReference(QDir(folder()).filePath(QStringLiteral("nv.mdb"))));
    // An office's server holds both stores from the start; without one the
    // administrator cannot tell whether saved calculations use a record.
    if (TestDatabases::storage() == TestDatabases::Storage::Server)
        QVERIFY(TestDatabases::createEmptyOrders(QDir(folder()).filePath(QStringLiteral("order.mdb"))));
    QVERIFY(m_session.open(DataLocation::folder(folder())));
    m_main = std::make_unique<frmMain>(m_session);
    m_main->show();
}

void AdminTestBase::cleanup()
{
    // Editors left open by a failed check go before the main window.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QDialog*>(w))
            delete w;
    m_main.reset();
    m_session.close();
    m_dir.reset();
    m_messages.checkSeen();
}

void AdminTestBase::exec(const QString& sql)
{
    QVERIFY(m_session.execSql(sql));
}

QueryTable AdminTestBase::rows(const QString& sql)
{
    QueryTable table;
    m_session.query(sql, table);
    return table;
}

qint64 AdminTestBase::insert(const QString& sql)
{
    exec(sql);
    return m_session.connection()->lastInsertKey();
}

std::unique_ptr<Database> AdminTestBase::savedCalculations(const QString& column, qint64 key, int count)
{
    const QString path = QDir(folder()).filePath(QStringLiteral("order.mdb"));
    if (!QFile::exists(path))
        TestDatabases::createEmptyOrders(path);
    std::unique_ptr<Database> orders =
        Database::open(TestDatabases::address(path), {QStringLiteral("data")}).valueOr(nullptr);
    for (int i = 0; orders && i < count; ++i)
        orders->execute(QStringLiteral("INSERT INTO data (%1) VALUES (%2)").arg(column).arg(key));
    return orders;
}

QWidget* AdminTestBase::openList(const char* menuItem)
{
    auto* action = m_main->findChild<QAction*>(QLatin1String(menuItem));
    if (!action)
        return nullptr;
    action->trigger();
    return m_main->listWindow();
}

QWidget* AdminTestBase::filledEditor(QWidget* window, const char* menu, const char* button)
{
    const QLatin1String kind(menu);
    if (QLatin1String(button) == QLatin1String("cmbGAdd")) {
        QWidget* editor = openEditor<frmCls1Edit>(window, button);
        if (editor) {
            type(editor, "Text1", QStringLiteral("Тип"));
            if (kind == QLatin1String("mOb")) {
                type(editor, "Text2", QStringLiteral("KM"));
                type(editor, "Text3", QStringLiteral("a.jpg"));
                type(editor, "Text4", QStringLiteral("b.jpg"));
            }
        }
        return editor;
    }
    if (kind == QLatin1String("mOb"))
        return openEditor<frmEqEdit>(window, button); // its defaults are valid
    if (kind == QLatin1String("mPr")) {
        QWidget* editor = openEditor<frmPrEdit>(window, button);
        if (editor) {
            type(editor, "Text2", QStringLiteral("Говядина"));
            fillProduct(editor);
        }
        return editor;
    }
    QWidget* editor = openEditor<frmClsEdit>(window, button);
    if (editor) {
        type(editor, "Text1", QStringLiteral("Запись"));
        type(editor, "Text3", QStringLiteral("0.5"));
        type(editor, "Text2", QStringLiteral("2"));
    }
    return editor;
}

void AdminTestBase::fillProduct(QWidget* editor)
{
    const char* const boxes[] = {"Text5",  "Text6",  "Text7",  "Text8", "Text9",
                                 "Text10", "Text11", "Text12", "Text13"};
    const char* const values[] = {"0,9", "0.45", "60", "-1,5", "-3", "0", "0.1", "0", "0.3"};
    for (int i = 0; i < 9; ++i)
        type(editor, boxes[i], QLatin1String(values[i]));
}

void AdminTestBase::type(QWidget* form, const char* box, const QString& text)
{
    auto* edit = form->findChild<QLineEdit*>(QLatin1String(box));
    QVERIFY2(edit, box);
    // As typed: keyClicks cannot send Cyrillic letters.
    edit->selectAll();
    edit->insert(text);
}

void AdminTestBase::click(QWidget* form, const char* button)
{
    auto* b = form->findChild<QAbstractButton*>(QLatin1String(button));
    QVERIFY2(b, button);
    QVERIFY2(b->isEnabled(), button);
    QTest::mouseClick(b, Qt::LeftButton);
}

QString AdminTestBase::text(QWidget* form, const char* box)
{
    if (!form)
        return QStringLiteral("<no form>");
    if (auto* edit = form->findChild<QLineEdit*>(QLatin1String(box)))
        return edit->text();
    if (auto* label = form->findChild<QLabel*>(QLatin1String(box)))
        return label->text();
    return QStringLiteral("<no box %1>").arg(QLatin1String(box));
}

QStringList AdminTestBase::entries(QWidget* form, const char* list)
{
    QStringList result;
    if (auto* w = form->findChild<QListWidget*>(QLatin1String(list)))
        for (int i = 0; i < w->count(); ++i)
            result << w->item(i)->text();
    if (auto* c = form->findChild<QComboBox*>(QLatin1String(list)))
        for (int i = 0; i < c->count(); ++i)
            result << c->itemText(i);
    return result;
}
