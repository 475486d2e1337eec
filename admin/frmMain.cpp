#include "frmMain.h"

#include "AdminSession.h"
#include "CsvExchange.h"
#include "Functions.h"
#include "frmCLS.h"
#include "frmCLS1.h"
#include "frmCls1Edit.h"
#include "ui_frmMain.h"

#include <QApplication>
#include <QMdiSubWindow>

frmMain::frmMain(AdminSession& session, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_ui(std::make_unique<Ui::frmMain>())
{
    m_ui->setupUi(this);
    setCentralWidget(m_ui->mdiArea);
    m_session.registerListMenus({m_ui->mTI, m_ui->mZn, m_ui->mPr, m_ui->mUp, m_ui->mOb});
    connect(m_ui->mTI, &QAction::triggered, this, &frmMain::mTI_Click);
    connect(m_ui->mZn, &QAction::triggered, this, &frmMain::mZn_Click);
    connect(m_ui->mPr, &QAction::triggered, this, &frmMain::mPr_Click);
    connect(m_ui->mUp, &QAction::triggered, this, &frmMain::mUp_Click);
    connect(m_ui->mOb, &QAction::triggered, this, &frmMain::mOb_Click);
    connect(m_ui->mExit, &QAction::triggered, this, &frmMain::mExit_Click);
    connect(m_ui->mCsvOut, &QAction::triggered, this, &frmMain::mCsvOut_Click);
    connect(m_ui->mCsvIn, &QAction::triggered, this, &frmMain::mCsvIn_Click);
}

frmMain::~frmMain()
{
    // The list window goes first, while the menu it switches back on exists.
    delete m_listWindow;
}

QMdiArea* frmMain::mdiArea() const
{
    return m_ui->mdiArea;
}

void frmMain::FillForm(int kind)
{
    if (kind < Functions::KindInsulation || kind > Functions::KindEquipment || m_listWindow)
        return;
    if (kind == Functions::KindProduct || kind == Functions::KindEquipment) {
        auto* window = new frmCLS1(m_session, kind);
        const int groups = window->FillUpperLevel();
        if (groups <= 0) {
            delete window;
            // A list that could not be read is not shown (the failure was).
            if (groups < 0)
                return;
            // Nothing to list yet: create the first group or type instead.
            auto* editor =
                new frmCls1Edit(m_session, EditRequest::add(static_cast<qint16>(kind)), nullptr, this);
            editor->setNames(QString(), QString(), QString(), QString());
            editor->openModal();
            return;
        }
        showListWindow(window);
        return;
    }
    auto* window = new frmCLS(m_session, kind);
    if (!window->FillList()) {
        delete window;
        return;
    }
    showListWindow(window);
}

void frmMain::showListWindow(ListWindow* window)
{
    m_listWindow = window;
    // The exchange works on the list that is open: its kind and, for the
    // capacity table, the equipment type chosen in it.
    m_ui->mCsvOut->setEnabled(true);
    m_ui->mCsvIn->setEnabled(true);
    connect(window, &QObject::destroyed, this, [this] {
        m_ui->mCsvOut->setEnabled(false);
        m_ui->mCsvIn->setEnabled(false);
    });
    QMdiSubWindow* sub = m_ui->mdiArea->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->adjustSize();
    sub->show();
}

void frmMain::mTI_Click()
{
    FillForm(Functions::KindInsulation);
}

void frmMain::mZn_Click()
{
    FillForm(Functions::KindCurtain);
}

void frmMain::mPr_Click()
{
    FillForm(Functions::KindProduct);
}

void frmMain::mUp_Click()
{
    FillForm(Functions::KindPacking);
}

void frmMain::mOb_Click()
{
    FillForm(Functions::KindEquipment);
}

void frmMain::mExit_Click()
{
    delete m_listWindow;
    m_session.close();
    close();
    QApplication::quit();
}

void frmMain::mCsvOut_Click()
{
    if (m_listWindow)
        CsvExchange::exportList(m_session, m_listWindow->kind(), m_listWindow->parentKey());
}

void frmMain::mCsvIn_Click()
{
    if (!m_listWindow || !CsvExchange::importList(m_session, m_listWindow->kind(), m_listWindow->parentKey()))
        return;
    if (auto* twoLevel = qobject_cast<frmCLS1*>(m_listWindow.data())) {
        if (twoLevel->kind() == Functions::KindEquipment)
            twoLevel->FillEquipment(twoLevel->parentKey());
        else
            twoLevel->FillProduct(twoLevel->parentKey());
    } else if (auto* list = qobject_cast<frmCLS*>(m_listWindow.data())) {
        list->FillList();
    }
}
