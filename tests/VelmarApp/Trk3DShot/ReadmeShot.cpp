// readme-shot --grab <grab-window> --out <picture.png>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <wx/image.h>
#include <wx/utils.h>
#include <wx/mdi.h>
#include <wx/treectrl.h>

#include "DocView/Core/CommandIds.h"
#include "DocView/TrkTreeView.h"
#include "TestSupport/EditorTestApp.h"
#include "Velmar/App/TrkDocVelmar.h"

namespace {

using namespace Ostra;

// The main window's pixels as they are on the display now.
bool Grab(const std::string& grab, const std::string& path) {
  // Windows repaint as the toolkit's frame clock ticks: give it a moment to.
  for (int i = 0; i < 10; ++i) {
    Test::SettleWx();
    wxMilliSleep(50);
  }
  const std::string command = "'" + grab + "' Velmar '" + path + "' --timeout 10 --settle 0.5";
  return std::system(command.c_str()) == 0;
}

void Command(wxWindow* frame, int id) {
  wxCommandEvent event(wxEVT_MENU, id);
  frame->ProcessWindowEvent(event);
  Test::SettleWx();
}

int Fail(const char* what) {
  std::fprintf(stderr, "readme-shot: %s\n", what);
  return 1;
}

} // namespace

int main(int argc, char** argv) {
  std::string grab;
  std::string out;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--grab") == 0)
      grab = argv[i + 1];
    else if (std::strcmp(argv[i], "--out") == 0)
      out = argv[i + 1];
  }
  if (grab.empty() || out.empty())
    return Fail("usage: readme-shot --grab <grab-window> --out <picture.png>");
  if (!Test::StartEditor())
    return Fail("no X display");

  auto* track = dynamic_cast<Velmar::CTrkDocVelmar*>(Test::OpenAsUser(Test::EditorSamples().GplTrack));
  if (track == nullptr || track->GetLpDocumentCount() < 1)
    return Fail("the GPL sample did not open with its race.lp");
  wxWindow* frame = track->GetFirstView()->GetFrame();

  // The tree opened on the track's segments, one of them selected and outlined in the
  // 3D view, seen from 200 m with the race line's control points and the distance scale.
  Command(frame, DocView::ID_VIEW_HEIGHT_200);
  Command(frame, DocView::ID_VIEW_CONTROL_POINTS);
  Command(frame, DocView::ID_VIEW_SCALE);
  Command(frame, DocView::ID_VIEW_CENTRELINE);
  wxTreeCtrl* tree = Test::FindView<DocView::CTrkTreeView>(track)->GetTreeCtrl();
  const wxTreeItemId root = tree->GetRootItem();
  tree->Expand(root);
  wxTreeItemIdValue cookie;
  wxTreeItemId segment = tree->GetFirstChild(root, cookie);
  for (int i = 0; i < 2 && segment.IsOk(); ++i)
    segment = tree->GetNextChild(root, cookie);
  if (!segment.IsOk())
    return Fail("the tree shows no segments");
  tree->Expand(segment);
  tree->SelectItem(segment);
  tree->SetFocus();

  const std::string top = out + ".track.png";
  const std::string bottom = out + ".grid.png";
  if (!Grab(grab, top))
    return Fail("could not grab the track's window");
  auto* race_frame = dynamic_cast<wxMDIChildFrame*>(track->GetLpDocument(0)->GetFirstView()->GetFrame());
  if (race_frame == nullptr)
    return Fail("race.lp has no window");
  race_frame->Activate();
  if (!Grab(grab, bottom))
    return Fail("could not grab race.lp's window");

  wxInitAllImageHandlers();
  wxImage track_image(wxString::FromUTF8(top), wxBITMAP_TYPE_PNG);
  wxImage grid_image(wxString::FromUTF8(bottom), wxBITMAP_TYPE_PNG);
  std::remove(top.c_str());
  std::remove(bottom.c_str());
  if (!track_image.IsOk() || !grid_image.IsOk())
    return Fail("could not read the grabbed pictures");
  // The grid's upper part (menus, tabs and the first rows) under the whole track window.
  const int grid_height = grid_image.GetHeight() * 2 / 5;
  wxImage picture(track_image.GetWidth(), track_image.GetHeight() + grid_height);
  picture.Paste(track_image, 0, 0);
  picture.Paste(grid_image.GetSubImage({0, 0, grid_image.GetWidth(), grid_height}), 0,
                track_image.GetHeight());
  if (!picture.SaveFile(wxString::FromUTF8(out), wxBITMAP_TYPE_PNG))
    return Fail("could not write the picture");
  std::printf("%s: %dx%d\n", out.c_str(), picture.GetWidth(), picture.GetHeight());
  Test::CloseAllDocuments();
  return 0;
}
