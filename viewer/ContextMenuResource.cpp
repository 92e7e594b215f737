#include "viewer/ContextMenuResource.h"

// Qt
#include <QAction>
#include <QMenu>

// Orvane
#include "res/resource.h"

namespace ContextMenuResource {

namespace {

QAction* AddCommand(QMenu* menu, const char* text, int nId)
{
    return AppendMenu(menu, nId, QString::fromLatin1(text));
}

} // namespace

std::unique_ptr<QMenu> LoadMenu(int nIDResource)
{
    if (nIDResource != IDR_CONTEXT_MENU)
        return nullptr;
    auto bar = std::make_unique<QMenu>();
    QMenu* tools = bar->addMenu(QStringLiteral("Tools"));
    QMenu* presets = tools->addMenu(QStringLiteral("Window Width/Level Presets"));
    AddCommand(presets, "Default", ID_WINDOW_PRESET_DEFAULT);
    tools->addSeparator();
    QMenu* showHide = tools->addMenu(QStringLiteral("Show/Hide"));
    AddCommand(showHide, "Header Informations", ID_SHOWHIDE_HEADERINFO);
    showHide->addSeparator();
    AddCommand(showHide, "Annotations", ID_SHOWHIDE_ANNOTATIONS);
    tools->addSeparator();
    AddCommand(tools, "DICOM Information", ID_DICOM_INFORMATION);
    tools->addSeparator();
    AddCommand(tools, "Magnifier Settings", ID_MAGNIFIER_SETTINGS);
    return bar;
}

QMenu* GetSubMenu(const QMenu* menu, int position)
{
    if (!menu)
        return nullptr;
    const QList<QAction*> items = menu->actions();
    if (position < 0 || position >= items.size())
        return nullptr;
    return items[position]->menu();
}

int CommandId(const QAction* action)
{
    if (!action || action->isSeparator() || action->menu())
        return 0;
    bool ok = false;
    const int id = action->data().toInt(&ok);
    return ok ? id : 0;
}

QAction* FindCommand(const QMenu* menu, int nId)
{
    if (!menu || nId == 0)
        return nullptr;
    for (QAction* action : menu->actions()) {
        if (QMenu* popup = action->menu()) {
            if (QAction* found = FindCommand(popup, nId))
                return found;
        } else if (CommandId(action) == nId) {
            return action;
        }
    }
    return nullptr;
}

QString GetMenuString(const QMenu* menu, int nId, int nMaxChars)
{
    const QAction* action = FindCommand(menu, nId);
    return action ? action->text().left(nMaxChars) : QString();
}

QAction* AppendMenu(QMenu* menu, int nId, const QString& text)
{
    QAction* action = menu->addAction(text);
    action->setData(nId);
    return action;
}

} // namespace ContextMenuResource
