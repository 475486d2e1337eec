#include "FileCopy.h"

#include <QFileDevice>

namespace FileCopy {

bool writeAll(QFileDevice& from, QFileDevice& to)
{
    QByteArray block;
    while (!(block = from.read(1 << 20)).isEmpty()) {
        for (qint64 done = 0; done < block.size();) {
            const qint64 written = to.write(block.constData() + done, block.size() - done);
            if (written <= 0)
                return false;
            done += written;
        }
    }
    return from.error() == QFileDevice::NoError;
}

} // namespace FileCopy
