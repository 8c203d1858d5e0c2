// The UI script: scripted answers for dialogs, alerts and file dialogs.
//
// One step a line; '#' starts a comment; texts in double quotes with \" and \\ as escapes.
//   dialog ID | set ITEM VALUE | text ITEM "T" | click ITEM | listclick ITEM ROW COL [ICON]
//   listpick ITEM "ROW TEXT" COL [ICON]
//   expect enabled|disabled|hidden|shown ITEM | expect value ITEM V | expect text ITEM "T"
//   alert BUTTON | file "PATH" | folder "PATH" | cancel
//   point X Y [Z] | line X Y [Z]   (the point picked, or the end of the line drawn)
//
// How the host plays them (host/src/Dialogs.cpp, DialogAnswers.cpp):
// - A modal dialog that opens takes the next step, which must be 'dialog' with its id; it
//   then takes set/text/click/listclick/listpick/expect steps until a click closes it.
// - 'set' works on int, real, check, radio, popup (the entry number) and usercontrol items,
//   'text' on edit items; typing into edit, int and real items first asks the callback
//   (message 10), then the change is message 6. 'click' is message 4 (a check box toggles
//   first, a radio button turns on); 'listclick' selects the row, then message 4. 'listpick'
//   clicks the first row whose first column shows the text, as a person picks it by name.
//   With ICON, either clicks only a cell that shows that icon.
// - A step on a hidden or disabled item, a dialog the script does not expect, an alert or a
//   file dialog without its step, a failed expectation, or a script that ends while a dialog
//   is open is a script error. The first one ends playback: the dialog closes as cancelled
//   (message 3 with item 2) and the rest of the run's UI is cancelled without more errors.
#ifndef VHOST_SCRIPT_HPP
#define VHOST_SCRIPT_HPP

#include <string>
#include <vector>

namespace vhost {

struct ScriptStep {
	int line = 0;
	std::string verb;
	std::vector<std::string> args; // texts unquoted
};

// Parses script text; answers false with "line N: why".
bool ParseScript(const std::string& text, std::vector<ScriptStep>& steps, std::string& error);
// Loads a script file into the current project.
bool LoadScript(const std::string& path, std::string& error);
void SetScript(const std::vector<ScriptStep>& steps);

// The next step, if any, without taking it; Take consumes it.
const ScriptStep* PeekStep();
void TakeStep();
// Records a script error at the step's line (or at the end of the script).
void ScriptError(const ScriptStep* step, const std::string& why);
// At the end of a run: steps left over are an error.
void FinishScript();

} // namespace vhost

#endif
