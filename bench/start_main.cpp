// frostpick's own start with one addition: when the first window has been
// painted, it prints the milliseconds since FROSTPICK_BENCH_T0 (the
// runner's monotonic clock just before it started this process) and ends.
#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "ChildProcess.h"
#include "DatabaseAccess.h"
#include "Messages.h"
#include "WidgetMessageSeam.h"
#include "Wizard.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!m_done && event->type() == QEvent::Paint && widget && widget->isWindow()) {
            m_done = true;
            const qint64 start = qgetenv("FROSTPICK_BENCH_T0").toLongLong();
            std::printf("%.3f\n", double(monotonicNanoseconds() - start) / 1e6);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool m_done = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    FirstPaint firstPaint;
    app.installEventFilter(&firstPaint);
    WidgetMessageSeam seam(QString::fromUtf8(ApplicationTitle));
    Messages::install(&seam);

    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--dir"));
    const DataLocation location = at >= 0 && at + 1 < args.size() ? DataLocation::folder(args.at(at + 1))
                                                                  : DataLocation::programFolder();
    CalculationContext context;
    CalculationRecord record;
    if (!OpenDatabases(context, location))
        return 1;
    ApplyStartValues(record);
    Wizard wizard(context, record);
    wizard.start();
    return app.exec();
}
