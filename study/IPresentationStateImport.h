#pragma once
// The import of presentation states as the study load calls it: each presentation-state file
// of a study turned into shapes of its images and window values of their series. The default
// is CPresentationStateImport over the presentation-state handler; tests install their own.

// Qt
#include <QString>

// std
#include <functional>
#include <memory>

class CImageInfo;

/// One import run over the presentation states of one study. UI thread only.
class IPresentationStateImport
{
public:
    virtual ~IPresentationStateImport() = default;
    /// Reads the presentation-state file at `path` and applies it to the study of
    /// `firstImage` (the first image of its first series); `tag` goes to every shape made.
    /// A file that can't be used is skipped without a message. The base does nothing.
    virtual void LoadPresentationState(const char* path, CImageInfo* firstImage, const QString& tag)
    {
        (void)path;
        (void)firstImage;
        (void)tag;
    }
};

/// Makes the import a study load uses, through the current factory (CPresentationStateImport
/// when none is set or it gives none). Never null.
std::unique_ptr<IPresentationStateImport> CreatePresentationStateImport();

/// Replaces the factory (an empty function restores the default one). Returns the old one.
using PresentationStateImportFactory = std::function<std::unique_ptr<IPresentationStateImport>()>;
PresentationStateImportFactory SetPresentationStateImportFactory(PresentationStateImportFactory factory);
