#include "CalcRun.h"

#include <QJsonDocument>
#include <QProcess>

CalcRun CalcRun::of(const QStringList& args, const QByteArray& input, const QString& program)
{
    QProcess p;
    p.start(program.isEmpty() ? QStringLiteral(FROSTPICK_CALC_EXE) : program, args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QJsonObject CalcRun::object() const
{
    return jsonObject(out.left(out.indexOf('\n')));
}

QJsonObject jsonObject(const QByteArray& line)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        qWarning("not a JSON object: %s", line.constData());
    return doc.object();
}
