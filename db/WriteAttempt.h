#pragma once

#include "Database.h"

#include <QString>

// One write of a program to a store, in a transaction that also stores a
// token of this attempt (table frostpick_write, pruned after a month). When
// the answer to its COMMIT is lost, the store is asked for the token on a new
// connection instead of guessing. An attempt whose outcome stayed unknown
// keeps its token: trying it again first asks for it and writes nothing when
// it is there. Any other outcome gives the next try a new token. A server
// store made before the tokens were kept is written without one, as it was.
class WriteAttempt
{
public:
    enum class Outcome {
        Open,             // begun, not yet committed
        Stored,           // committed and answered
        StoredAnswerLost, // the answer was lost, the token says stored
        NotStored,        // refused or rolled back
        Unknown,          // the answer was lost and the store could not be asked
    };

    WriteAttempt();

    // Begins the transaction on db. A failure when there is nothing to write
    // now: an earlier try of this attempt turned out stored (outcome()
    // StoredAnswerLost, the failure then empty), the store cannot be asked
    // about it (Unknown) or refused the transaction (NotStored).
    Result<void> begin(Database& db);
    // Stores the token and commits; on any failure the transaction is
    // rolled back, and outcome() tells what became of the write: the
    // failure says why it was not answered as stored.
    Result<void> commit();
    // Gives up the transaction begun: nothing of it is stored.
    void rollback();

    Outcome outcome() const { return m_outcome; }
    bool stored() const { return m_outcome == Outcome::Stored || m_outcome == Outcome::StoredAnswerLost; }
    // What the user is told besides the usual message: for a write stored
    // after all, and for one whose outcome is unknown; empty otherwise.
    static QString note(Outcome outcome);
    QString note() const { return note(m_outcome); }

private:
    bool settle(Outcome outcome);
    // Whether the token is stored; a failure when the store cannot be asked.
    Result<bool> tokenStored();

    Database* m_db = nullptr;
    QString m_token;
    Outcome m_outcome = Outcome::NotStored;
};
