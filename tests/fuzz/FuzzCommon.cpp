#include "tests/fuzz/FuzzCommon.h"

// Qt
#include <QDir>
#include <QLoggingCategory>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/oflog/oflog.h>

// POSIX
#include <fcntl.h>
#include <unistd.h>

namespace FuzzCommon {

void Quiet()
{
    OFLog::configure(OFLogger::FATAL_LOG_LEVEL);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.warning=false\n*.critical=false"));
}

QString ScratchFolder()
{
    static const QString folder = [] {
        const QString path = QDir::tempPath() + QStringLiteral("/orvane-fuzz-%1").arg(getpid());
        QDir().mkpath(path);
        return path;
    }();
    return folder;
}

bool WriteInput(const QByteArray& path, const std::uint8_t* data, std::size_t size)
{
    const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n <= 0)
            break;
        done += std::size_t(n);
    }
    close(fd);
    return done == size;
}

} // namespace FuzzCommon
