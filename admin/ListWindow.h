#pragma once

#include <QWidget>

// What every list window of the main window shares: while one is open the
// five list menu items are off, and it returns them when it goes.
class ListWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ListWindow(QWidget* parent = nullptr);
    ~ListWindow() override;

    // Closes the window together with its frame in the main window.
    void closeWindow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_placed = false;
};
