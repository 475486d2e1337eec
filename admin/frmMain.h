#pragma once

#include "ListWindow.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

namespace Ui {
class frmMain;
}
class AdminSession;
class QMdiArea;

// The administrator's container window: a menu of the five reference lists
// and "Выход"; one list window at a time opens inside it, in the session the
// window was given.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(AdminSession& session, QWidget* parent = nullptr);
    ~frmMain() override;

    // Opens and fills the list window of a kind (1 to 5).
    void FillForm(int kind);

    QMdiArea* mdiArea() const;
    ListWindow* listWindow() const { return m_listWindow; }

private:
    void mTI_Click();
    void mZn_Click();
    void mPr_Click();
    void mUp_Click();
    void mOb_Click();
    void mExit_Click();
    void mCsvOut_Click();
    void mCsvIn_Click();

    void showListWindow(ListWindow* window);

    AdminSession& m_session;
    std::unique_ptr<Ui::frmMain> m_ui;
    QPointer<ListWindow> m_listWindow;
};
