#pragma once
// One directory record's place in the DICOMDIR: its own offset, its links and its index.

// Qt
#include <QString>

// std
#include <cstdint>
#include <memory>
#include <vector>

/// One record of the Directory Record Sequence. Plain data: written by the reader on the
/// loading thread, read on the UI thread once handed over.
class COffsetListValue
{
public:
    void SetKey(const QString& key) { m_strKey = key; }
    QString GetKey() const { return m_strKey; }

    std::uint32_t m_nOffset = 0;      ///< byte offset of the record in the DICOMDIR file
    std::uint32_t m_nNextOffset = 0;  ///< Offset of the Next Directory Record; 0 ends the chain
    std::uint32_t m_nLowerOffset = 0; ///< Offset of Referenced Lower-Level Directory Entity; 0 none
    std::uint32_t m_nIndex = 0;       ///< position in the Directory Record Sequence
    QString m_strKey;                 ///< patient key (PATIENT), Study Instance UID (STUDY), else empty
};

/// An owning list of offset records, in DICOMDIR order.
using COffsetList = std::vector<std::unique_ptr<COffsetListValue>>;
