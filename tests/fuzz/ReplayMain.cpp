// Runs a fuzz target once over each file named, or each file of each folder named, in name
// order: the regression run for builds without libFuzzer.

// Qt
#include <QDir>
#include <QFile>
#include <QFileInfo>

// POSIX
#include <csignal>
#include <unistd.h>

// std
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    QStringList files;
    unsigned timeout = 0; // seconds an input may take; 0 without limit
    for (int i = 1; i < argc; ++i) {
        const QString arg = QFile::decodeName(argv[i]);
        if (arg.startsWith(QLatin1String("-timeout=")))
            timeout = arg.mid(9).toUInt();
        if (arg.startsWith(QLatin1Char('-')))
            continue; // libFuzzer's options
        const QFileInfo info(arg);
        if (info.isDir()) {
            for (const QFileInfo& entry : QDir(arg).entryInfoList(QDir::Files, QDir::Name))
                files << entry.filePath();
        } else if (info.isFile()) {
            files << arg;
        } else {
            std::fprintf(stderr, "no such input: %s\n", argv[i]);
            return 2;
        }
    }
    LLVMFuzzerInitialize(&argc, &argv);
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 2;
        }
        const QByteArray bytes = file.readAll();
        std::fprintf(stderr, "Running: %s\n", qPrintable(path));
        // An input that hangs ends the run (SIGALRM), as libFuzzer's -timeout does
        alarm(timeout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
        alarm(0);
    }
    std::fprintf(stderr, "Executed %lld inputs\n", static_cast<long long>(files.size()));
    return files.isEmpty() ? 2 : 0;
}
