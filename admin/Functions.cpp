#include "Functions.h"

#include "AdminSession.h"
#include "Database.h"
#include "DatabaseFailure.h"
#include "FailurePresenter.h"
#include "Messages.h"
#include "NumberText.h"
#include "WriteAttempt.h"

#include <QLocale>
#include <limits>

namespace Functions {

namespace {

const QString& recordGoneReason()
{
    static const QString reason = QStringLiteral(
        "Записи больше нет в базе данных: ее, вероятно, удалили в другой копии программы. Список прочитан "
        "заново.");
    return reason;
}

} // namespace

bool Main(AdminSession& session, const DataLocation& location)
{
    if (const Result<void> opened = session.open(location); !opened) {
        PresentStartFailure(opened.failure());
        return false;
    }
    PresentWritesRefused(*session.connection());
    return true;
}

void ShowReadFailure(const DatabaseFailure& failure)
{
    PresentFailure(failure, QStringLiteral("Ошибка чтения базы данных"), MsgIcon::Exclamation,
                   QStringLiteral("Внимание"));
}

bool RecordRead(const Result<int>& read, const QString& title)
{
    if (!read) {
        ShowReadFailure(read.failure());
        return false;
    }
    if (read.value() == 0)
        Messages::show(QStringLiteral("Нарушена целостность БД!"), MsgIcon::Critical, title);
    return read.value() > 0;
}

bool RecordGone(const DatabaseFailure& failure)
{
    return !failure.fromEngine() && failure.reason == recordGoneReason();
}

DatabaseFailure RecordGoneFailure()
{
    return DatabaseFailure::own(recordGoneReason());
}

QString FailureDescription(const DatabaseFailure& failure)
{
    const QString why = failure.fromEngine() ? failure.engineText : failure.reason;
    return failure.outcomeUnknown
               ? WriteAttempt::note(WriteAttempt::Outcome::Unknown) + QLatin1Char('\n') + why
               : why;
}

std::optional<qint16> PickKey(qint64 key)
{
    if (key < 1 || key > std::numeric_limits<qint16>::max()) {
        Messages::show(QStringLiteral("Ключ записи (%1) вне диапазона от 1 до 32767: "
                                      "такую запись программа изменить или удалить не может.")
                           .arg(key),
                       MsgIcon::Critical, QStringLiteral("Ошибка"));
        return std::nullopt;
    }
    return static_cast<qint16>(key);
}

QString FixNumber(const QString& text)
{
    QString fixed = text;
    fixed.replace(QLatin1Char(','), QLatin1Char('.'));
    return fixed.trimmed();
}

std::optional<double> TypedNumber(const QString& text)
{
    const QString fixed = FixNumber(text);
    // The C locale takes a Unicode minus for a sign, which the reading then
    // does not: "−5" would be stored as 0.
    for (const QChar c : fixed)
        if (c.unicode() > 0x7E)
            return std::nullopt;
    if (!NumberText::isNumeric(fixed, QLocale::c()))
        return std::nullopt;
    return NumberText::read(fixed);
}

} // namespace Functions
