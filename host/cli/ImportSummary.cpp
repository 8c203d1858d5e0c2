#include "ImportSummary.hpp"

#include <utility>
#include <vector>

#include "vhost/Elements.hpp"
#include "vhost/LibraryStore.hpp"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"

namespace cli {

namespace {

std::string GuidKey(const API_Guid& guid) { return vhost::ToUtf8(APIGuidToString(guid)); }

// "N: a, b, c", or "0".
std::string Counted(const std::vector<std::string>& items)
{
	std::string text = std::to_string(items.size());
	for (std::size_t i = 0; i < items.size(); ++i) text += (i == 0 ? ": " : ", ") + items[i];
	return text;
}

std::vector<std::string> UndoSince(std::size_t from)
{
	std::vector<std::string> steps;
	const auto& undo = vhost::Current().undo;
	for (std::size_t i = from; i < undo.size(); ++i) {
		std::string step = undo[i].name;
		if (undo[i].result != NoError)
			step += " (error " + std::to_string(undo[i].result) + (undo[i].rolledBack ? ", rolled back)" : ")");
		steps.push_back(step);
	}
	return steps;
}

// "N (a Type, b Other)": the elements made since, by type in order of first appearance.
std::string ElementsSince(const std::set<std::string>& before)
{
	std::vector<std::pair<std::string, int>> byType;
	int total = 0;
	for (const vhost::ElementRecord& r : vhost::Current().state.elements) {
		if (before.count(GuidKey(r.element.header.guid)) != 0) continue;
		const std::string type = vhost::ElemTypeName(r.element.header.type.typeID);
		auto it = byType.begin();
		while (it != byType.end() && it->first != type) ++it;
		if (it == byType.end()) byType.emplace_back(type, 1);
		else ++it->second;
		++total;
	}
	std::string text = std::to_string(total);
	for (std::size_t i = 0; i < byType.size(); ++i)
		text += (i == 0 ? " (" : ", ") + std::to_string(byType[i].second) + " " + byType[i].first + (i + 1 == byType.size() ? ")" : "");
	return text;
}

// The parts the import put into the project's own (embedded) library.
std::vector<std::string> PartsSince(std::size_t from)
{
	const std::string embedded = vhost::EmbeddedLibraryFolder() + "/";
	std::vector<std::string> names;
	const auto& parts = vhost::Library().parts;
	for (std::size_t i = from; i < parts.size(); ++i)
		if (!parts[i].gone && parts[i].file.compare(0, embedded.size(), embedded) == 0) names.push_back(vhost::Utf16ToUtf8(parts[i].name));
	return names;
}

std::size_t AlertsSince(std::size_t from)
{
	std::size_t alerts = 0;
	const auto& reports = vhost::Current().reports;
	for (std::size_t i = from; i < reports.size(); ++i) alerts += reports[i].alert ? 1 : 0;
	return alerts;
}

} // namespace

ImportTally::ImportTally()
	: undo_(vhost::Current().undo.size()), parts_(vhost::Library().parts.size()), reports_(vhost::Current().reports.size()),
	  start_(std::chrono::steady_clock::now())
{
	for (const vhost::ElementRecord& r : vhost::Current().state.elements) elements_.insert(GuidKey(r.element.header.guid));
}

std::string ImportTally::Summary(const std::string& project) const
{
	const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
	return "Imported \"" + project + "\" in " + vhost::NumberText(seconds, std::chars_format::fixed, 2) + " s\n" +
	       "  undo steps:      " + Counted(UndoSince(undo_)) + "\n" +
	       "  elements:        " + ElementsSince(elements_) + "\n" +
	       "  generated parts: " + Counted(PartsSince(parts_)) + "\n" +
	       "  alerts:          " + std::to_string(AlertsSince(reports_)) + "\n";
}

} // namespace cli
