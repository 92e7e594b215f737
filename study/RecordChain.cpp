#include "study/RecordChain.h"

namespace {

std::size_t Slot(std::uint32_t offset, std::size_t mask)
{
    return std::size_t((offset * 0x9E3779B1u) ^ (offset >> 16)) & mask;
}

} // namespace

void RecordChain::Grow()
{
    std::vector<std::uint32_t> slots(m_slots.empty() ? 1024 : m_slots.size() * 2, 0);
    const std::size_t mask = slots.size() - 1;
    for (std::size_t i = 0; i < m_links.size(); ++i) {
        std::size_t slot = Slot(m_links[i].nOffset, mask);
        while (slots[slot] != 0)
            slot = (slot + 1) & mask;
        slots[slot] = std::uint32_t(i + 1);
    }
    m_slots.swap(slots);
}

void RecordChain::Add(const DirectoryLink& link)
{
    if (m_byIndex.size() <= link.nIndex)
        m_byIndex.resize(link.nIndex + 1, 0);
    m_byIndex[link.nIndex] = link.nOffset;
    if (Find(link.nOffset))
        return;
    if ((m_links.size() + 1) * 2 > m_slots.size())
        Grow();
    m_links.push_back(link);
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = Slot(link.nOffset, mask);
    while (m_slots[slot] != 0)
        slot = (slot + 1) & mask;
    m_slots[slot] = std::uint32_t(m_links.size());
}

void RecordChain::Clear()
{
    m_links.clear();
    m_slots.clear();
    m_byIndex.clear();
}

const DirectoryLink* RecordChain::Find(std::uint32_t offset) const
{
    if (m_slots.empty())
        return nullptr;
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = Slot(offset, mask); m_slots[slot] != 0; slot = (slot + 1) & mask) {
        const DirectoryLink& link = m_links[m_slots[slot] - 1];
        if (link.nOffset == offset)
            return &link;
    }
    return nullptr;
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
