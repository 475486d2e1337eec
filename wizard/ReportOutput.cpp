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

QString documentTitle()
{
    return QStringLiteral("Расчет тепловой нагрузки и выбор оборудования");
}

// Characters no file system or desktop takes in a file name.
QString safeFileName(const QString& customer)
{
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    QString name = QString(customer).replace(forbidden, QStringLiteral("_")).simplified();
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    return name.isEmpty() ? QStringLiteral("Расчет") : name.left(100);
}

bool printOnDefaultPrinter(const CalculationRecord& record, const QDate& today)
{
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setResolution(ReportDpi);
    printer.setDocName(documentTitle());
    return ReportPrinter(printer, record, today).PrintReport();
}

void showWriteFailure(const QString& folder)
{
    Messages::show(QStringLiteral("Не удалось сохранить отчет в папку ") + QDir::toNativeSeparators(folder),
                   MsgIcon::Exclamation, QStringLiteral("Ошибка"));
}

} // namespace

QString FreeFileName(const QString& folder, const QString& customer, const QDate& date)
{
    const QDir dir(folder);
    const QString base =
        safeFileName(customer) + QLatin1Char(' ') + date.toString(QStringLiteral("yyyy-MM-dd"));
    QString path = dir.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFile::exists(path); ++n)
        path = dir.filePath(base + QStringLiteral(" (%1).pdf").arg(n));
    return path;
}

QString WritePdf(const CalculationRecord& record, const QDate& today, const QString& folder)
{
    if (!QDir().mkpath(folder))
        return {};
    // NewOnly: a file that appeared in the meantime is left alone.
    QFile file(FreeFileName(folder, record.contact_organization, today));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return {};
    bool written = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(ReportDpi);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter);
        writer.setTitle(documentTitle());
        writer.setCreator(QString::fromUtf8(ApplicationTitle));
        written = ReportPrinter(writer, record, today).PrintReport();
    }
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        file.remove();
        return {};
    }
    return file.fileName();
}

void PrintOrSave(const CalculationRecord& record, const QDate& today)
{
    if (!QPrinterInfo::availablePrinters().isEmpty() && !QPrinterInfo::defaultPrinter().isNull()) {
        if (!printOnDefaultPrinter(record, today))
            Messages::show(QStringLiteral("Ошибка печати"), MsgIcon::Exclamation, QStringLiteral("Ошибка"));
        return;
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString path = WritePdf(record, today, folder);
    if (path.isEmpty()) {
        showWriteFailure(folder);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    Messages::show(QStringLiteral("Принтер не найден. Отчет сохранен в файл:\n") +
                       QDir::toNativeSeparators(path),
                   MsgIcon::Information, QString());
}

} // namespace ReportOutput
