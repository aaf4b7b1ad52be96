#include <string>

#include <wx/utils.h>

#include "DocView/Core/TemplateMatching.h"
#include "DocView/Core/UserMessages.h"
#include "Papy/Curve/LpFileCurve.h"
#include "Papy/Files/Facets.h"
#include "Util/Exception.h"
#include "Util/PathName.h"
#include "Velmar/App/Dialogs.h"
#include "Velmar/App/ReplaceDocument.h"
#include "Velmar/App/TrkDocVelmar.h"
#include "Velmar/Core/CommandChecks.h"
#include "Velmar/Core/FilePaths.h"
#include "Velmar/Core/LineGeneration.h"

namespace Ostra::Velmar {

namespace {

// Offers one race-line curve for saving under its initial name, and shows the file
// written in place of any document of that path. Cancelling writes nothing.
void OfferCurve(CTrkDocVelmar& doc, const CountedPtr<Papy::LpFileCurve>& curve,
                const std::string& folder, const std::string& name) {
  const std::string path = AskSavePath(
      {"Lp Curve Files (*.lcv)|" + DocView::MakeFilterPattern(".lcv"), "lcv", folder, name},
      nullptr);
  if (path.empty())
    return;
  if (!HasOneOfExtensions(path, {"lcv"}))
    throw Util::XUsage(Util::PathName(path).GetFileName() +
                       ": a lap curve is saved with the extension .lcv; please choose a name "
                       "ending in .lcv.");
  const wxBusyCursor busy;
  ReplaceDocument(*doc.GetDocumentManager(), path, &doc,
                  {[&](const std::string& to) { SaveLpFile(*curve, to); }, {}});
}

} // namespace

void CTrkDocVelmar::OnCreateMinMaxRaceLps(wxCommandEvent&) {
  const CountedPtr<Papy::Track> track = GetTrack();
  const CountedPtr<Papy::FileFactory> factory = GetFileFactory();
  if (!CanCreateMinMaxRaceLps(track.Get(), factory.Get()))
    return;
  RaceLineSettings settings;
  settings.FitTolerance = FitTolerance;
  settings.MinimumRangeWidth = MinimumRangeWidth;
  settings.VergeMargin = GetSideMargin(SideType::Verge);
  settings.BarrierMargin = GetSideMargin(SideType::Barrier);
  settings.OtherMargin = GetSideMargin(SideType::Outer);
  settings.LookAhead = LookAhead;
  DocView::RunGuarded(
      [&] {
        MinMaxRaceCurves curves;
        {
          const wxBusyCursor busy;
          curves = MakeMinMaxRaceCurves(*factory, track, settings);
        }
        const std::string folder = factory->GetFacet<Papy::GetDirectory>()->Get().GetPath();
        // Both curves are made before either is offered; a failure to write the first
        // keeps the second from being offered.
        OfferCurve(*this, curves.Min, folder, "minrace");
        OfferCurve(*this, curves.Max, folder, "maxrace");
      },
      DocView::MessageParent::MainWindow);
}

void CTrkDocVelmar::OnUpdateCreateMinMaxRaceLps(wxUpdateUIEvent& event) {
  event.Enable(CanCreateMinMaxRaceLps(GetTrack().Get(), GetFileFactory().Get()));
}

} // namespace Ostra::Velmar
