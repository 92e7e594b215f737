// Qt
#include <QPointer>
#include <QWidget>
#include <QtTest>

// Orvane
#include "platform/CDocument.h"
#include "platform/CMultiDocTemplate.h"

namespace {

class TestDocument : public CDocument
{
public:
    bool refuseNew = false;
    bool OnNewDocument() override { return !refuseNew; }
};

} // namespace

class tst_CMultiDocTemplate : public QObject
{
    Q_OBJECT
private slots:
    void newDocumentGetsAFrameThatOwnsIt();
    void failedFrameDeletesDocument();
    void failedNewDocumentMakesNoFrame();
    void deletedDocumentLeavesTheList();
    void removeKeepsDocumentAlive();
};

void tst_CMultiDocTemplate::newDocumentGetsAFrameThatOwnsIt()
{
    QWidget parent;
    QPointer<QWidget> frame;
    CMultiDocTemplate t(129, "\nTolvanel", [] { return new TestDocument; },
                        [&](CDocument*, QWidget* p) { frame = new QWidget(p); return frame.data(); });
    QPointer<CDocument> document = t.OpenDocumentFile(QString(), &parent);
    QVERIFY(document);
    QVERIFY(frame);
    QCOMPARE(frame->parentWidget(), &parent);
    QCOMPARE(t.GetDocuments().size(), size_t(1));
    QCOMPARE(document->GetDocTemplate(), &t);
    delete frame;
    QVERIFY(!document);
    QVERIFY(t.GetDocuments().empty());
}

void tst_CMultiDocTemplate::failedFrameDeletesDocument()
{
    CMultiDocTemplate t(129, "", [] { return new TestDocument; }, [](CDocument*, QWidget*) { return nullptr; });
    QVERIFY(!t.OpenDocumentFile(QString(), nullptr));
    QVERIFY(t.GetDocuments().empty());
}

void tst_CMultiDocTemplate::failedNewDocumentMakesNoFrame()
{
    bool frameMade = false;
    CMultiDocTemplate t(
        129, "",
        [] {
            auto* d = new TestDocument;
            d->refuseNew = true;
            return d;
        },
        [&](CDocument*, QWidget*) {
            frameMade = true;
            return nullptr;
        });
    QVERIFY(!t.OpenDocumentFile(QString(), nullptr));
    QVERIFY(!frameMade);
    QVERIFY(t.GetDocuments().empty());
}

void tst_CMultiDocTemplate::deletedDocumentLeavesTheList()
{
    CMultiDocTemplate t(129, "", [] { return new TestDocument; }, nullptr);
    CDocument* a = t.CreateNewDocument();
    CDocument* b = t.CreateNewDocument();
    QCOMPARE(t.GetDocuments().size(), size_t(2));
    delete a;
    QCOMPARE(t.GetDocuments(), std::vector<CDocument*>{b});
    delete b;
}

void tst_CMultiDocTemplate::removeKeepsDocumentAlive()
{
    CMultiDocTemplate t(129, "", [] { return new TestDocument; }, nullptr);
    std::unique_ptr<CDocument> d(t.CreateNewDocument());
    t.RemoveDocument(d.get());
    QVERIFY(t.GetDocuments().empty());
    QVERIFY(!d->GetDocTemplate());
}

QTEST_MAIN(tst_CMultiDocTemplate)
#include "tst_CMultiDocTemplate.moc"
