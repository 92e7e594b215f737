#include "study/RecordChain.h"

void RecordChain::Add(const DirectoryLink& link)
{
    if (m_byIndex.size() <= link.nIndex)
        m_byIndex.resize(link.nIndex + 1, 0);
    m_byIndex[link.nIndex] = link.nOffset;
    m_byOffset.emplace(link.nOffset, link);
}

void RecordChain::Clear()
{
    m_byOffset.clear();
    m_byIndex.clear();
}

const DirectoryLink* RecordChain::Find(std::uint32_t offset) const
{
    const auto it = m_byOffset.find(offset);
    return it == m_byOffset.end() ? nullptr : &it->second;
}

const DirectoryLink* RecordChain::AtIndex(std::uint32_t index) const
{
    if (index >= m_byIndex.size())
        return nullptr;
    const DirectoryLink* link = Find(m_byIndex[index]);
    return link && link->nIndex == index ? link : nullptr;
}

const DirectoryLink* RecordChain::First(std::uint32_t offset, RecordType type) const
{
    const DirectoryLink* first = nullptr;
    Walk(offset, type, [&](const DirectoryLink& link) {
        first = &link;
        return false;
    });
    return first;
}
