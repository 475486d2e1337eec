#pragma once

#include "EditRequest.h"

#include <QDialog>
#include <optional>

class AdminSession;
class QLineEdit;
struct DatabaseFailure;

// A record editor: modal, made afresh for each use and gone when closed,
// centred when it first shows, with the focus in its first box. It edits
// what its list window's request names.
class EditorDialog : public QDialog
{
    Q_OBJECT
public:
    EditorDialog(AdminSession& session, const EditRequest& request, QWidget* parent);

    // Shows the editor modally without blocking the caller; what follows the
    // edit runs on finished().
    void openModal();

signals:
    // The record being changed was no longer there: the list showing it
    // is out of date.
    void recordGone();

protected:
    AdminSession& session() const { return m_session; }
    const EditRequest& request() const { return m_request; }
    void showEvent(QShowEvent* event) override;
    virtual QWidget* firstBox() const = 0;
    // After a failed save: a record found gone closes the editor and says
    // so through recordGone(); any other failure leaves it open.
    void closeIfRecordGone(const DatabaseFailure& failure);
    // The number typed into the box for a column of the table, checked
    // against the column's rule; nullopt once the refusal is shown: the
    // message, then the table, the column, the text and the rule, with the
    // focus in the box.
    std::optional<double> ruledNumber(QLineEdit* box, const QString& table, const QString& column,
                                      const QString& message);
    // Shows a refusal of what was typed into the box, the focus put there.
    static void refuseBox(QWidget* box, const QString& text);

private:
    AdminSession& m_session;
    const EditRequest m_request;
    bool m_placed = false;
};
