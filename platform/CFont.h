#pragma once
// A font object that may or may not have been created, as a GDI font handle may be null.

// Qt
#include <QFont>

// std
#include <memory>

/// Holds a font once created; until then GetFont() is null and users draw with their default.
/// UI thread only.
class CFont
{
public:
    CFont() = default;
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    void Attach(const QFont& font) { m_font = std::make_unique<QFont>(font); }
    void DeleteObject() { m_font.reset(); }
    /// The font, or null when none was created.
    const QFont* GetFont() const { return m_font.get(); }

private:
    std::unique_ptr<QFont> m_font;
};
