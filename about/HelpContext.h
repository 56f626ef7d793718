#pragma once
// Help contexts: the topic numbers that controls and menus carry (the "helpContext" property) and
// the help topic file of each.

#include <QString>

class QAction;
class QObject;

namespace movik {

// The context asked for by F1 on obj: its own non-zero "helpContext", else that of the nearest
// enclosing object (parent chain) with a non-zero one; 0 when none has one.
int HelpContextOf(const QObject* obj);

// The context of a menu item: the action's own, else that of the nearest enclosing menu with a
// non-zero one (a menu's "helpContext", then the menus it hangs from); 0 when none has one.
int HelpContextOfAction(const QAction* action);

// The topic file of a help context ("likvidnost.html"), with "#" and the name of a section for
// a context that is one ("izbornici.html#upozorenja"); empty for a context without a topic.
QString HelpTopicFile(int context);

// The contents page of the help.
QString HelpContentsFile();

}  // namespace movik
