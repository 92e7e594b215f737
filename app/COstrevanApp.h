#pragma once
// The application object: starts and stops the system. The state that several subsystems
// share is its base, CAppState (state/), which every reader includes; `theApp` is the one
// instance.

// Qt
#include <QString>
#include <QStringList>

// Orvane
#include "state/CAppState.h"

/// The file-set folder of a program file: its path cut before the last "/" twice, trailing
/// "/" trimmed after each cut. "/cd/prog/orvane" -> "/cd"; "/prog/orvane" and "/orvane" -> ""
/// (the root folder).
QString MediaFolderFromProgramPath(const QString& programPath);

/// The application object. UI thread only. Constructing it links the frames it makes to the
/// floors below that reach them (app/FrameLinks.h).
class COstrevanApp : public CAppState
{
public:
    COstrevanApp();
    ~COstrevanApp() override;
    COstrevanApp(const COstrevanApp&) = delete;
    COstrevanApp& operator=(const COstrevanApp&) = delete;

    /// The start-up: single instance, file-set folder, DICOMDIR copy, profile, document
    /// template, main frame and Study List dialog. False ends the process (after ExitInstance).
    BOOL InitInstance(const QString& programPath) override;
    /// The shut-down: frames and dialog deleted, the instance lock released, the recent-file
    /// list saved. Returns the exit code.
    int ExitInstance() override;

    QStringList m_astrRecentFiles;     ///< the profile's recent-file list (four entries)
    bool m_bProfileLoaded = false;     ///< the recent-file list was read and is saved at exit
};
