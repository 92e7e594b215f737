#pragma once
// The child frame that holds the panes of a document.

// Qt
#include <QWidget>

class CDocument;

/// The child frame. UI thread only.
class CChildFrmView : public QWidget
{
    Q_OBJECT
public:
    explicit CChildFrmView(QWidget* parent = nullptr);
    ~CChildFrmView() override;

    /// Builds the panes for `document`. False when they can't be built.
    bool Create(CDocument* document);
};
