#pragma once

#include <functional>
#include <string>
#include <vector>

// Where the editor finds its help file and keeps its settings; no windows, no disk
// access except through the callbacks given.
namespace Ostra::DocView {

// The path with its final extension (after the last dot of the last component)
// replaced by newExtension (".pdf"), or newExtension appended when there is none. A
// dot in a folder's name is never taken for the extension.
std::string ReplaceFinalExtension(const std::string& path, const std::string& newExtension);

// The help files looked for, in order: the program's path with ".pdf" and with ".PDF"
// in place of its extension, then velmar.pdf in the resources folder (when given).
std::vector<std::string> HelpFileCandidates(const std::string& programPath, const std::string& resourcesDir);

// The first candidate for which exists answers true; empty when none does.
std::string FindHelpFile(const std::vector<std::string>& candidates,
                         const std::function<bool(const std::string&)>& exists);

inline constexpr const char* HelpLaunchFailedText = "Could not launch help";

// The settings file: $XDG_CONFIG_HOME/Ostra/Velmar.conf when that variable holds an
// absolute path, else $HOME/.config/Ostra/Velmar.conf; empty when neither is usable.
// Either argument may be null (unset).
std::string SettingsFilePath(const char* xdgConfigHome, const char* home);

} // namespace Ostra::DocView
