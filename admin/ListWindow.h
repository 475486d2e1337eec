#pragma once

#include <QWidget>

// What every list window of the main window shares: the list kind it shows
// (Functions::ListKind); while one is open the five list menu items are
// off, and it returns them when it goes.
class ListWindow : public QWidget
{
    Q_OBJECT
public:
    ListWindow(int kind, QWidget* parent);
    ~ListWindow() override;

    qint16 kind() const { return m_kind; }
    // The product group or equipment type chosen in a two-level list, else 0.
    virtual qint32 parentKey() const { return 0; }

    // Closes the window together with its frame in the main window.
    void closeWindow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const qint16 m_kind;
    bool m_placed = false;
};
