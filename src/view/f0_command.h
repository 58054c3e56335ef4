// The main window's "F0 Config" command: while the active MDI window is a history view (it holds
// a HistoryLists), the F0 parameter dialog is shown preset with the main window's parameters; OK
// stores the two numbers there and switches F0 mode on in that view. Any other window: nothing.
//
// Threading: GUI thread only.
#pragma once

#include <string>

class QMdiSubWindow;
class QWidget;

namespace velorin {

enum class Language;
class HistoryLists;
class Presenter;

// The HistoryLists of a data window, null when it is not a history view.
HistoryLists* HistoryListsOf(QMdiSubWindow* window);

// `parameters`: reference temperature and z-value, updated after OK. Returns whether F0 mode was
// switched on.
bool RunF0ConfigCommand(QMdiSubWindow* activeWindow, Language language, float (&parameters)[2], Presenter& presenter,
                        QWidget* dialogParent);

}  // namespace velorin
