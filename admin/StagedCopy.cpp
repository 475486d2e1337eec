#include "StagedCopy.h"

#include "FileCopy.h"

#include <QFile>

namespace {

StagedCopy::Error errorOf(const QFileDevice& file)
{
    return {file.errorString(), int(file.error())};
}

} // namespace

StagedCopy::StagedCopy(const QString& source, const QString& destination)
    : m_source(source), m_out(destination)
{}

std::optional<StagedCopy::Error> StagedCopy::write()
{
    QFile in(m_source);
    if (!in.open(QIODevice::ReadOnly))
        return errorOf(in);
    if (!m_out.open(QIODevice::WriteOnly))
        return errorOf(m_out);
    if (!FileCopy::writeAll(in, m_out)) {
        const Error error =
            errorOf(in.error() != QFileDevice::NoError ? static_cast<QFileDevice&>(in) : m_out);
        m_out.cancelWriting(); // after naming the error, which cancelling names otherwise
        return error;
    }
    return std::nullopt;
}

std::optional<StagedCopy::Error> StagedCopy::commit()
{
    if (!m_out.commit())
        return errorOf(m_out);
    return std::nullopt;
}
