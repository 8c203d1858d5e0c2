// The settings command in-process: an add-on folder with a factory file, the repository's
// resource file, settings files as ordered records, and what the dialog should show.
#ifndef VELMORA_SETTINGSDIALOGTEST_HPP
#define VELMORA_SETTINGSDIALOGTEST_HPP

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.hpp"

namespace settingsdlg {

// Records of a settings file in their order, as key and value.
using Records = std::vector<std::pair<std::string, std::string>>;

// Every record the settings file holds, in the file's order, with values that differ from
// each other (pen_<i> = 10+i, fill_ 20+i, ..., layer_ 70+i; customs 81..84) and the folder
// "/Kart/old".
Records DistinctRecords();
// The records with key set to value (the key must be there).
Records With(Records records, const std::string& key, const std::string& value);
// "[key=value]\r\n" for each record.
std::string FileOf(const Records& records);
// Upper-case hex of the bytes.
std::string Hex(const std::string& bytes);

// What each value item of the dialog shows for those records.
std::map<short, int> ItemValues(const Records& records);
// One "expect value ITEM V" line per item.
std::string Expectations(const std::map<short, int>& values);

class SettingsCommand : public testsupport::HostTest {
protected:
	void SetUp() override;
	std::string FactoryFile() const { return RunRoot() + "/Addon/terrainsettings.txt"; }
	std::string UserFile() const { return RunRoot() + "/Common Documents/Velmora/terrainsettings.txt"; }
	// Loads the script into the host (a parse error fails the test).
	void Script(const std::string& text);
	// Runs the command with the script; afterwards leftover steps are script errors.
	void Run(const std::string& script);
};

} // namespace settingsdlg

#endif
