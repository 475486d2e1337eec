#include "FailurePresenter.h"

#include "Database.h"
#include "DatabaseFailure.h"
#include "WriteAttempt.h"

void PresentFailure(const DatabaseFailure& failure, const QString& heading, MsgIcon icon,
                    const QString& title)
{
    QString text = failure.outcomeUnknown ? WriteAttempt::note(WriteAttempt::Outcome::Unknown)
                   : heading.isEmpty()    ? failure.heading
                                          : heading;
    const QString advice = failure.advice();
    if (!advice.isEmpty())
        text += QStringLiteral("\r\n") + advice;
    Messages::showWithDetails(text, failure.details(), icon, title);
}

void PresentStartFailure(const DatabaseFailure& failure)
{
    if (!failure.address.isFile()) {
        PresentFailure(failure);
        return;
    }
    Messages::show(QString::number(uint(failure.engineCode), 16).toUpper() + QLatin1Char('\r') +
                   failure.engineText);
    Messages::show(QStringLiteral("Не найден файл БД") + QLatin1Char('\n') +
                       QStringLiteral("Измените настройки и запустите программу вновь"),
                   MsgIcon::Exclamation, QStringLiteral("Внимание"));
}

void PresentWritesRefused(const Database& db)
{
    if (const QString why = db.writesRefused(); !why.isEmpty())
        Messages::show(why, MsgIcon::Exclamation);
}

std::optional<QString> AskPassword(const QString& prompt)
{
    return Messages::password(prompt, QString());
}
