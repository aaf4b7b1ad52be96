#pragma once

#include <cstddef>
#include <string>
#include <vector>

// How documents find their template: by any of the template's extensions, ignoring case.
namespace Ostra::DocView {

enum class ExtensionMatch { Foreign, Native };

// extensions: ".trk;.dat". Native when the path's extension (from its last dot, dot
// included) equals one of them, ignoring case; Foreign otherwise, and for a path
// without a dot.
ExtensionMatch MatchExtension(const std::string& path, const std::string& extensions);

// ".trk;.dat" -> "*.[tT][rR][kK];*.[dD][aA][tT]": file dialogs on this platform match
// case, and game folders copied from Windows hold names such as Race.Lp.
std::string MakeFilterPattern(const std::string& extensions);

// ".trk;.dat" -> "trk".
std::string FirstExtension(const std::string& extensions);

// What a template shows in the open dialog.
struct TemplateFilter {
  std::string FilterName; // "Track Files (*.trk,*.dat)"
  std::string Extensions; // ".trk;.dat"
};

// The open dialog's filter: one entry per template in order, then "All Files (*.*)"
// matching every name (with or without a dot):
// "Track Files (*.trk,*.dat)|*.trk;*.dat;*.TRK;*.DAT|...|All Files (*.*)|*".
// Save As offers its document's template alone, then all files, the same way.
std::string MakeOpenDialogFilter(const std::vector<TemplateFilter>& templates);

inline constexpr const char* AllFilesFilterName = "All Files (*.*)";

// The editor's templates. Tracks are GPL and N2 TRK files and DAT archives, and N4
// PTF object archives.
inline const TemplateFilter TrackFileFilter{"Track Files (*.trk,*.dat,*.ptf)", ".trk;.dat;.ptf"};
inline const TemplateFilter LapFileFilter{"Lap Files (*.lp,*.l66,*.l69)", ".lp;.l66;.l69"};
inline const TemplateFilter LapCurveFileFilter{"Lap Curve Files (*.lcv)", ".lcv"};

// The template a path opens with: the first whose extensions match it, or the first
// template (the track template) when none does. 0 for an empty list.
std::size_t ChooseTemplate(const std::string& path, const std::vector<std::string>& extensionLists);

} // namespace Ostra::DocView
