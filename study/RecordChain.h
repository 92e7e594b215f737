#pragma once
// The linkage of a DICOMDIR's directory records, found by offset through one open-addressed table.

// std
#include <array>
#include <cstdint>
#include <unordered_set>
#include <vector>

class COffsetListValue;
class DcmItem;

/// The record types the viewer reads; everything else is Other.
enum class RecordType
{
    Patient,
    Study,
    Series,
    Image,
    Presentation,
    Other,
};

/// What the walk keeps of one directory record.
struct DirectoryLink
{
    RecordType nType = RecordType::Other;
    std::uint32_t nOffset = 0;
    std::uint32_t nNextOffset = 0;
    std::uint32_t nLowerOffset = 0;
    std::uint32_t nIndex = 0;                ///< position in the Directory Record Sequence
    const COffsetListValue* pValue = nullptr; ///< its offset record; null for records not kept
    DcmItem* pItem = nullptr;                ///< the record in the DICOMDIR file object, not owned
};

/// Every directory record of one DICOMDIR by its offset and by its index. Plain data: built by
/// the reader on the loading thread, read on the UI thread once handed over. The items belong
/// to the DICOMDIR file object, which must outlive the chain's use.
class RecordChain
{
public:
    /// Adds a record. Offsets are item positions in the file, so each is taken once; a
    /// second record at a taken offset is not added.
    void Add(const DirectoryLink& link);
    void Clear();

    /// The record at byte offset `offset`; null when none.
    const DirectoryLink* Find(std::uint32_t offset) const;
    /// The record at sequence index `index`; null when none.
    const DirectoryLink* AtIndex(std::uint32_t index) const;
    /// The first record of `type` on the chain that starts at `offset`; null when none.
    const DirectoryLink* First(std::uint32_t offset, RecordType type) const;

    /// Calls `visit` (const DirectoryLink&, returning bool: go on) for each record of `type` on
    /// the chain that starts at `offset`, following next offsets. A record of another type is
    /// stepped over. The chain ends at offset 0, at an offset without a record, and at a record
    /// it has already passed, so cycles end.
    template <class Visit>
    void Walk(std::uint32_t offset, RecordType type, Visit&& visit) const
    {
        PassedOffsets passed;
        while (offset != 0 && passed.Insert(offset)) {
            const DirectoryLink* link = Find(offset);
            if (!link)
                return;
            if (link->nType == type && !visit(*link))
                return;
            offset = link->nNextOffset;
        }
    }

    std::size_t size() const { return m_byIndex.size(); }

private:
    void Grow();
    // The offsets one walk has passed: a short chain is searched in place, a long one hashed
    class PassedOffsets
    {
    public:
        bool Insert(std::uint32_t offset)
        {
            if (m_nCount < kInPlace) {
                for (std::size_t i = 0; i < m_nCount; ++i)
                    if (m_aFirst[i] == offset)
                        return false;
                m_aFirst[m_nCount++] = offset;
                return true;
            }
            if (m_rest.empty()) {
                m_rest.reserve(kInPlace * 4);
                m_rest.insert(m_aFirst.begin(), m_aFirst.end());
            }
            return m_rest.insert(offset).second;
        }

    private:
        static constexpr std::size_t kInPlace = 32;
        std::array<std::uint32_t, kInPlace> m_aFirst{};
        std::size_t m_nCount = 0;
        std::unordered_set<std::uint32_t> m_rest;
    };

    // Records in the order added, found by offset through an open-addressed table of their
    // positions + 1 (0: free slot), kept at most half full
    std::vector<DirectoryLink> m_links;
    std::vector<std::uint32_t> m_slots;
    std::vector<std::uint32_t> m_byIndex; // index -> offset
};
