#pragma once

#include <QWidget>

class AdminSession;

// What every list window of the main window shares: the session it works
// in and the list kind it shows (Functions::ListKind); while one is open the
// session's five list menu items are off, and it returns them when it goes.
class ListWindow : public QWidget
{
    Q_OBJECT
public:
    ListWindow(AdminSession& session, int kind, QWidget* parent);
    ~ListWindow() override;

    AdminSession& session() const { return m_session; }
    qint16 kind() const { return m_kind; }
    // The product group or equipment type chosen in a two-level list, else 0.
    virtual qint32 parentKey() const { return 0; }

    // Closes the window together with its frame in the main window.
    void closeWindow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    AdminSession& m_session;
    const qint16 m_kind;
    bool m_placed = false;
};
