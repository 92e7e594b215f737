#pragma once
// The view's right-button menu as a resource: built from its item table, and looked up by
// command id as the menu functions of the first platform did. UI thread only.

// Qt
#include <QString>

// std
#include <memory>

class QAction;
class QMenu;

namespace ContextMenuResource {

/// Menu IDR_CONTEXT_MENU: one popup "Tools" holding, in order, the popup "Window Width/Level
/// Presets" (with "Default", ID_WINDOW_PRESET_DEFAULT), a separator, the popup "Show/Hide"
/// ("Header Informations", a separator, "Annotations"), a separator, "DICOM Information", a
/// separator, "Magnifier Settings". Null for any other resource id. Item ids are the actions'
/// data.
std::unique_ptr<QMenu> LoadMenu(int nIDResource);

/// The popup at `position` of `menu` (separators count as positions), or null.
QMenu* GetSubMenu(const QMenu* menu, int position);
/// The command id of an item (0 for separators, popups and foreign actions).
int CommandId(const QAction* action);
/// The item with command `nId` in `menu` or any popup below it, or null.
QAction* FindCommand(const QMenu* menu, int nId);
/// The text of the item with command `nId`, at most `nMaxChars` characters; empty when none.
QString GetMenuString(const QMenu* menu, int nId, int nMaxChars = 256);
/// Adds a plain string item with command `nId` at the end of `menu`.
QAction* AppendMenu(QMenu* menu, int nId, const QString& text);

} // namespace ContextMenuResource
