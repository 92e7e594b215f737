// Qt
#include <QtTest>

// std
#include <cerrno>

// Orvane
#include "platform/ReportSystemError.h"

namespace {

QStringList g_messages;

void Capture(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    g_messages << QString::fromLatin1(context.category) + ": " + message;
}

} // namespace

class tst_ReportSystemError : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void formatsSystemTextAndPlace_data();
    void formatsSystemTextAndPlace();
    void keepsLongPlaceWithinBuffer();
    void catchAllBlockGoesOn();
};

void tst_ReportSystemError::init()
{
    g_messages.clear();
    qInstallMessageHandler(Capture);
}

void tst_ReportSystemError::cleanup()
{
    qInstallMessageHandler(nullptr);
}

void tst_ReportSystemError::formatsSystemTextAndPlace_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("no error") << 0 << QByteArray("from CStudyList::OnLoad");
    QTest::newRow("system text") << EACCES << QByteArray("Permission denied from CStudyList::OnLoad");
    QTest::newRow("no system text") << 987654 << QByteArray("from CStudyList::OnLoad");
}

void tst_ReportSystemError::formatsSystemTextAndPlace()
{
    QFETCH(int, code);
    QFETCH(QByteArray, line);
    QCOMPARE(ReportSystemError(DWORD(code), "CStudyList::OnLoad"), line);
    // Never silent: the line reaches standard error under its category
    QCOMPARE(g_messages, QStringList{"orvane.error: " + QString::fromLatin1(line)});
}

void tst_ReportSystemError::keepsLongPlaceWithinBuffer()
{
    const QByteArray where(5000, 'x');
    const QByteArray line = ReportSystemError(ENOENT, where.constData());
    QCOMPARE(line.size(), 1023);
    QVERIFY(line.startsWith("No such file or directory from xxx"));
}

void tst_ReportSystemError::catchAllBlockGoesOn()
{
    int after = 0;
    try {
        SetLastError(ENOMEM);
        throw std::bad_alloc();
    } catch (...) {
        ReportSystemError(GetLastError(), "CMainFrame::OnClose");
    }
    ++after;
    QCOMPARE(after, 1);
    QCOMPARE(g_messages, QStringList{"orvane.error: Cannot allocate memory from CMainFrame::OnClose"});
}

QTEST_MAIN(tst_ReportSystemError)
#include "tst_ReportSystemError.moc"
