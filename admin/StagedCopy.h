#pragma once

#include <QSaveFile>
#include <QString>
#include <optional>

// A file copied beside its destination under a temporary name and put in
// place only by commit(); dropped before that, it leaves the destination
// folder as it was.
class StagedCopy
{
public:
    struct Error
    {
        QString description;
        int number = 0;
    };

    StagedCopy(const QString& source, const QString& destination);

    // Copies the whole source; the error when that fails part-way.
    std::optional<Error> write();
    // Replaces the destination with the copy.
    std::optional<Error> commit();

    const QString& source() const { return m_source; }
    QString destination() const { return m_out.fileName(); }

private:
    QString m_source;
    QSaveFile m_out;
};
