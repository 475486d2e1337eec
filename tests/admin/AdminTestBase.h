#pragma once

#include "AdminSession.h"
#include "Database.h"
#include "FakeMessages.h"
#include "QueryTable.h"

#include <QApplication>
#include <QObject>
#include <QTemporaryDir>
#include <memory>

class frmMain;
class QWidget;

// Shared fixture of the administrator's GUI tests: a schema-only nv.mdb in
// a folder of the test's own, the module pointed at it, the message seam
// faked and a main window.
class AdminTestBase : public QObject
{
    Q_OBJECT
public:
    AdminTestBase();
    ~AdminTestBase() override;

protected:
    QString folder() const { return m_dir->path(); }
    AdminSession& session() { return m_session; }
    frmMain* mainWindow() const { return m_main.get(); }

    // Runs fixture statements on the administrator's own connection.
    void exec(const QString& sql);
    // Rows of a query; an empty table when nothing came back.
    QueryTable rows(const QString& sql);
    qint64 insert(const QString& sql);
    // Saved calculations in an order.mdb beside the program (made when
    // missing): `count` rows whose column holds the key. The connection
    // given back keeps the file open as the running wizard does.
    std::unique_ptr<Database> savedCalculations(const QString& column, qint64 key, int count);

    // Chooses a menu item and gives the list window that opened.
    QWidget* openList(const char* menuItem);
    // The add editor of the list window opened by `menu` ("cmbGAdd" for the
    // upper list), filled with values it takes; null when none opened.
    static QWidget* filledEditor(QWidget* window, const char* menu, const char* button = "cmbAdd");
    // Valid values in every number box of the product editor.
    static void fillProduct(QWidget* editor);

    FakeMessages m_messages;

public:
    // Also for tests that run the administrator beside the wizard.
    // The editor of that class shown now, or null.
    template <class T> static T* shownEditor()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* editor = qobject_cast<T*>(w); editor && editor->isVisible())
                return editor;
        return nullptr;
    }
    // Clicks the button of the form and gives the editor of that class it opened.
    template <class T> static T* openEditor(QWidget* form, const char* button)
    {
        click(form, button);
        return shownEditor<T>();
    }

    static void type(QWidget* form, const char* box, const QString& text);
    static void click(QWidget* form, const char* button);
    static QString text(QWidget* form, const char* box);
    static QStringList entries(QWidget* form, const char* list);

protected slots:
    void init();
    void cleanup();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    AdminSession m_session;
    std::unique_ptr<frmMain> m_main;
};
