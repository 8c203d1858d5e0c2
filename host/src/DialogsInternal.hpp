// Shared by the host's dialog files: finding open dialogs and items, faults, script breaks.
#ifndef VHOST_DIALOGSINTERNAL_HPP
#define VHOST_DIALOGSINTERNAL_HPP

#include <set>
#include <string>

#include "APIdefs_Base.h"
#include "vhost/Dialogs.hpp"
#include "vhost/Script.hpp"

namespace vhost::dialogs {

// Records a dialog call the add-on got wrong (fails the run).
void DialogFault(const char* call, const std::string& why);

// The innermost open dialog with that id, or null (with a fault naming call).
DialogState* Dialog(const char* call, short dialID);
// Its item, or null (with a fault). With kind set, the item must be of that kind.
DialogItemState* Item(const char* call, short dialID, short item, const char* kind = nullptr);

// True when the module is the add-on's own and it holds icon or image id (else a fault).
bool KnownImage(const char* call, GSResModule module, short id);

// Sets an item's value, kept in its range when its minimum is below its maximum.
void SetValue(DialogItemState& item, double value);
// The text the item shows: a popup's selected entry, else its text.
GS::UniString ShownText(const DialogItemState& item);

// A script error that ends playback: the rest of the UI is cancelled without more errors.
void BreakScript(const ScriptStep* step, const std::string& why);
// The step that answers a UI element of that kind (one of verbs), taken; null (a script
// error naming what) otherwise.
const ScriptStep* Answer(const std::set<std::string>& verbs, const std::string& what);
// A whole number from a script argument.
bool ToShort(const std::string& text, short& out);

} // namespace vhost::dialogs

#endif
