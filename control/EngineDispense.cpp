#include "control/Engine.h"

#include "control/IViewActions.h"
#include "control/IViewDialogs.h"
#include "control/IViewItems.h"
#include "control/IViewStatus.h"
#include "control/ShellServices.h"
#include "model/DM.h"

// The dispense commands are filled in with the dispense run control.
void Engine::diskSelect() {}
void Engine::dispense() {}
void Engine::undispense() {}
void Engine::clipboardPost() {}
void Engine::originalsDelete() {}
void Engine::entryReveal(const EntryPos& pos)
{
    Q_UNUSED(pos);
}
