#include "platform/FileCopy.h"

// Qt
#include <QFile>

// POSIX
#include <fcntl.h>
#include <unistd.h>

// std
#include <cerrno>
#include <cstdlib>
#include <vector>

bool CopyFileReplacing(const QString& source, const QString& folder, const QString& name)
{
    const QByteArray src = QFile::encodeName(source);
    QByteArray dir = QFile::encodeName(folder);
    if (!dir.endsWith('/'))
        dir += '/';
    const QByteArray target = dir + QFile::encodeName(name);
    QByteArray tmpl = dir + QFile::encodeName(name) + ".XXXXXX";

    const int in = open(src.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    const int out = mkstemp(tmpl.data());
    if (out < 0) {
        close(in);
        return false;
    }
    bool ok = true;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = read(in, buffer.data(), buffer.size());
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = write(out, buffer.data() + done, size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                ok = false;
                break;
            }
            done += w;
        }
        if (!ok)
            break;
    }
    close(in);
    if (fsync(out) != 0)
        ok = false;
    if (close(out) != 0)
        ok = false;
    // rename replaces a read-only earlier copy too: permissions of the folder decide
    if (ok && rename(tmpl.constData(), target.constData()) != 0)
        ok = false;
    if (!ok)
        unlink(tmpl.constData());
    return ok;
}
