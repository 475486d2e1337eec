#include "ReportOutput.h"

#include "CalculationRecord.h"
#include "DatabaseAccess.h"
#include "Messages.h"
#include "ReportPrinter.h"

#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

namespace ReportOutput {

namespace {

constexpr int ReportDpi = 600;

// Characters no file system or desktop takes in a file name; quotes, which
// only some file systems refuse, unless keepQuotes.
QString safeFileName(const QString& customer, bool keepQuotes)
{
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?<>|\\x00-\\x1f]"));
    QString name = QString(customer).replace(forbidden, QStringLiteral("_"));
    if (!keepQuotes)
        name.replace(QLatin1Char('"'), QLatin1Char('_'));
    name = name.simplified();
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    return name.isEmpty() ? QStringLiteral("Расчет") : name.left(100);
}

bool printOnDefaultPrinter(const Document& document)
{
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setResolution(ReportDpi);
    printer.setDocName(document.title);
    return document.print(printer);
}

void showWriteFailure(const QString& folder)
{
    Messages::show(QStringLiteral("Не удалось сохранить отчет в папку ") + QDir::toNativeSeparators(folder),
                   MsgIcon::Exclamation, QStringLiteral("Ошибка"));
}

} // namespace

Document ReportDocument(CalculationContext& context, const CalculationRecord& record, const QDate& today)
{
    return {QStringLiteral("Расчет тепловой нагрузки и выбор оборудования"), QStringLiteral("Отчет"),
            QString(), [&context, &record, today](QPagedPaintDevice& device) {
                return ReportPrinter(device, context, record, today).PrintReport();
            }};
}

QString FreeFileName(const QString& folder, const QString& customer, const QDate& date, const QString& suffix,
                     bool keepQuotes)
{
    const QDir dir(folder);
    QString base =
        safeFileName(customer, keepQuotes) + QLatin1Char(' ') + date.toString(QStringLiteral("yyyy-MM-dd"));
    if (!suffix.isEmpty())
        base += QLatin1Char(' ') + suffix;
    QString path = dir.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFile::exists(path); ++n)
        path = dir.filePath(base + QStringLiteral(" (%1).pdf").arg(n));
    return path;
}

QString WritePdf(const Document& document, const QString& customer, const QDate& today, const QString& folder)
{
    if (!QDir().mkpath(folder))
        return {};
    // NewOnly: a file that appeared in the meantime is left alone. A file
    // system that refuses quotes in names gets them as "_".
    QFile file(FreeFileName(folder, customer, today, document.fileSuffix, true));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        file.setFileName(FreeFileName(folder, customer, today, document.fileSuffix, false));
        if (!customer.contains(QLatin1Char('"')) || !file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return {};
    }
    bool written = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(ReportDpi);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter);
        writer.setTitle(document.title);
        writer.setCreator(QString::fromUtf8(ApplicationTitle));
        written = document.print(writer);
    }
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        file.remove();
        return {};
    }
    return file.fileName();
}

QString WritePdf(CalculationContext& context, const CalculationRecord& record, const QDate& today,
                 const QString& folder)
{
    return WritePdf(ReportDocument(context, record, today), record.contact_organization, today, folder);
}

void PrintOrSave(const Document& document, const QString& customer, const QDate& today)
{
    if (!QPrinterInfo::availablePrinters().isEmpty() && !QPrinterInfo::defaultPrinter().isNull()) {
        if (!printOnDefaultPrinter(document))
            Messages::show(QStringLiteral("Ошибка печати"), MsgIcon::Exclamation, QStringLiteral("Ошибка"));
        return;
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString path = WritePdf(document, customer, today, folder);
    if (path.isEmpty()) {
        showWriteFailure(folder);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    Messages::show(QStringLiteral("Принтер не найден. %1 сохранен в файл:\n").arg(document.noun) +
                       QDir::toNativeSeparators(path),
                   MsgIcon::Information, QString());
}

void PrintOrSave(CalculationContext& context, const CalculationRecord& record, const QDate& today)
{
    PrintOrSave(ReportDocument(context, record, today), record.contact_organization, today);
}

} // namespace ReportOutput
