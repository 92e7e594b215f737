#include "state/CAppState.h"

// Orvane
#include "platform/CMultiDocTemplate.h"

CAppState::CAppState() = default;

CAppState::~CAppState() = default;

BOOL CAppState::InitInstance(const QString&)
{
    return FALSE;
}

int CAppState::ExitInstance()
{
    return 0;
}

QString CAppState::GetSeriesKey(int index) const
{
    return index >= 0 && index < m_astrSeriesKeys.size() ? m_astrSeriesKeys[index] : QString();
}
