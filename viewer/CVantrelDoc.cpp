#include "viewer/CVantrelDoc.h"

CVantrelDoc::CVantrelDoc(QObject* parent)
    : CDocument(parent)
{
}

CVantrelDoc::~CVantrelDoc() = default;
