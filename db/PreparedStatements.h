#pragma once

#include <QHash>
#include <QString>

// Prepared statements by their text with the literals taken out. The reads
// of both programs come from a few dozen statement forms; a text that
// differs each time (an IN list, say) must not make the cache grow without
// bound, so a full cache is emptied at once, as a server forgets its
// statements only all together.
template <typename Statement> class PreparedStatements
{
public:
    static constexpr int Max = 128;

    Statement find(const QString& text) const { return m_statements.value(text); }
    // Whether adding that many statements would overfill the cache.
    bool full(int adding = 1) const { return m_statements.size() + adding > Max; }
    void add(const QString& text, Statement statement) { m_statements.insert(text, statement); }
    // Empties the cache, handing every statement to release first.
    template <typename Release> void clear(Release&& release)
    {
        for (const Statement& statement : std::as_const(m_statements))
            release(statement);
        m_statements.clear();
    }
    void clear() { m_statements.clear(); }

private:
    QHash<QString, Statement> m_statements;
};
