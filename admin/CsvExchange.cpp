#include "CsvExchange.h"

#include "AdminSession.h"
#include "CsvFile.h"
#include "CsvImport.h"
#include "Functions.h"
#include "Messages.h"
#include "OrderUsage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString Filter = QStringLiteral("Таблицы CSV (*.csv);;Все файлы (*)");
const QString ExportTitle = QStringLiteral("Экспорт в CSV");
const QString ImportTitle = QStringLiteral("Импорт из CSV");

// Spreadsheet files are the user's documents, wherever the data is.
QString startFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

QString listed(const QStringList& problems)
{
    return problems.mid(0, CsvImport::ProblemLimit).join(QStringLiteral("\r\n"));
}

// The question with the counts, and what deleting would add to it.
QString preview(const CsvImport& import, const QString& file, bool deleteMissing, int used)
{
    QString text = QStringLiteral("Файл «%1»: %2.").arg(file, import.counts(deleteMissing));
    if (!import.encoding().isEmpty())
        text += QStringLiteral("\r\nКодировка файла: %1.").arg(import.encoding());
    if (deleteMissing && used > 0)
        text += QStringLiteral("\r\nУдаляемые записи используются в сохраненных расчетах: %1.").arg(used);
    const QStringList& problems = import.listProblems(deleteMissing);
    if (!problems.isEmpty())
        return text + QStringLiteral("\r\nФайл загрузить нельзя:\r\n") + listed(problems);
    return text + QStringLiteral("\r\nЗагрузить?");
}

bool refuse(const QString& file, const QStringList& problems)
{
    Messages::show(QStringLiteral("Файл «%1» не загружен, справочник не изменен:\r\n").arg(file) +
                       listed(problems),
                   MsgIcon::Exclamation, ImportTitle);
    return false;
}

} // namespace

namespace CsvExchange {

bool exportList(AdminSession& session, int kind, int parentKey)
{
    const std::unique_ptr<CsvLayout> layout = CsvLayout::forKind(session, kind, parentKey);
    if (!layout)
        return false;
    QVector<ExchangeRow> rows;
    if (const Result<void> read = layout->readStored(rows); !read) {
        Messages::show(QStringLiteral("Справочник не прочитан:\r\n") +
                           Functions::FailureDescription(read.failure()),
                       MsgIcon::Critical, QStringLiteral("Ошибка"));
        return false;
    }
    const QString path =
        Messages::saveFile(ExportTitle, Filter, startFolder() + QLatin1Char('/') + layout->fileName());
    if (path.isEmpty())
        return false;
    QList<QStringList> lines;
    for (const ExchangeRow& row : std::as_const(rows))
        lines << row.fields;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(CsvFile::write(layout->header(), lines)) < 0 ||
        !file.commit()) {
        Messages::show(QStringLiteral("Файл %1 не записан:\r\n%2").arg(path, file.errorString()),
                       MsgIcon::Critical, QStringLiteral("Ошибка"));
        return false;
    }
    return true;
}

bool importList(AdminSession& session, int kind, int parentKey)
{
    const std::unique_ptr<CsvLayout> layout = CsvLayout::forKind(session, kind, parentKey);
    if (!layout)
        return false;
    const QString path = Messages::openFile(ImportTitle, Filter, startFolder());
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Messages::show(QStringLiteral("Файл %1 не открыт:\r\n%2").arg(path, file.errorString()),
                       MsgIcon::Critical, QStringLiteral("Ошибка"));
        return false;
    }
    const CsvImport import(session, *layout, file.readAll());
    const QString name = QFileInfo(path).fileName();
    // Refused at once when neither choice could be loaded.
    QStringList problems = import.problems();
    if (problems.isEmpty() && !import.listProblems(true).isEmpty())
        problems = import.listProblems(false);
    if (!problems.isEmpty())
        return refuse(name, problems);
    int used = 0;
    if (kind != Functions::KindEquipment)
        for (qint64 key : import.missingKeys())
            used += OrderUsage::count(session.location(), kind, key);
    // A choice that cannot be loaded offers nothing to confirm.
    const auto buttons = [&import](bool deleteMissing) {
        return import.listProblems(deleteMissing).isEmpty() ? MsgButtons::YesNo : MsgButtons::Ok;
    };
    TickBox tick{QStringLiteral("удалить отсутствующие в файле"), preview(import, name, true, used), false,
                 buttons(false), buttons(true)};
    if (Messages::ask(preview(import, name, false, used), tick, MsgIcon::Question, ImportTitle) !=
        MsgAnswer::Yes)
        return false;
    // Emptying the list is asked once more: a file cut short, or the
    // wrong one, would do just that.
    if (tick.ticked && import.deletes() > 0 && import.unchanged() + import.changes() == 0 &&
        Messages::show(QStringLiteral("Файл «%1»: будут удалены все записи справочника (%2). Удалить их?")
                           .arg(name)
                           .arg(import.deletes()),
                       MsgIcon::Question, ImportTitle, MsgButtons::YesNo) != MsgAnswer::Yes)
        return false;
    QString failedRows;
    if (const Result<void> applied = import.apply(tick.ticked, &failedRows); !applied)
        return refuse(name, {failedRows + Functions::FailureDescription(applied.failure())});
    return true;
}

} // namespace CsvExchange
