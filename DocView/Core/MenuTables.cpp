#include "DocView/Core/MenuTables.h"

#include "DocView/Core/CommandIds.h"

namespace Ostra::DocView {

namespace {
MenuItem Command(const char* label, int command) { return {MenuItemKind::Command, label, command, {}}; }
MenuItem Check(const char* label, int command) { return {MenuItemKind::Check, label, command, {}}; }
MenuItem Separator() { return {MenuItemKind::Separator, {}, 0, {}}; }
MenuItem RecentFiles() { return {MenuItemKind::RecentFiles, "Recent Files", CMD_RECENT_FILES, {}}; }

MenuPopup FileMenu(MenuKind kind) {
  MenuPopup file{"&File", {Command("&Open...\tCtrl+O", CMD_FILE_OPEN)}};
  if (kind == MenuKind::Lp || kind == MenuKind::LapCurve) {
    file.Items.push_back(Command("&Save\tCtrl+S", CMD_FILE_SAVE));
    file.Items.push_back(Command("Save As...", CMD_FILE_SAVE_AS));
  }
  if (kind != MenuKind::Main)
    file.Items.push_back(Command("&Close", CMD_FILE_CLOSE));
  if (kind == MenuKind::Track) {
    file.Items.push_back(Separator());
    file.Items.push_back(Command("Create Min/Max Race Lps...", ID_CREATE_MIN_MAX_RACE_LPS));
  }
  file.Items.push_back(Separator());
  file.Items.push_back(RecentFiles());
  file.Items.push_back(Separator());
  file.Items.push_back(Command("E&xit", CMD_APP_EXIT));
  return file;
}

MenuPopup StatusBarOnly() { return {"&View", {Check("&Status Bar", ID_VIEW_STATUS_BAR)}}; }

MenuPopup TrackViewMenu() {
  return {"&View",
          {Check("Longitudinal Speed", ID_VIEW_LONGITUDINAL_SPEED),
           Check("Lateral Speed", ID_VIEW_LATERAL_SPEED),
           Check("Yaw Speed", ID_VIEW_YAW_SPEED),
           Check("Speed Modifiers", ID_VIEW_SPEED_MODIFIERS),
           Separator(),
           Check("Pass Checkpoint Zones", ID_VIEW_PASS_CHECKPOINT_ZONES),
           Check("Outbrake Decision Points", ID_VIEW_OUTBRAKE_DECISION_POINTS),
           Check("Start Pass1 Points", ID_VIEW_START_PASS1_POINTS),
           Check("Start Pass2 Points", ID_VIEW_START_PASS2_POINTS),
           Check("Start Abrupt Pass1 Points", ID_VIEW_START_ABRUPT_PASS1_POINTS),
           Check("Start Abrupt Pass2 Points", ID_VIEW_START_ABRUPT_PASS2_POINTS),
           Check("Abandon Pass Points", ID_VIEW_ABANDON_PASS_POINTS),
           Check("No Pass Zones", ID_VIEW_NO_PASS_ZONES),
           Check("Long Straights", ID_VIEW_LONG_STRAIGHTS),
           Check("Cornering Points", ID_VIEW_CORNERING_POINTS),
           Check("Level Speed Coeff Points", ID_VIEW_LEVEL_SPEED_COEFF_POINTS),
           Check("Tire Warmup Points", ID_VIEW_TIRE_WARMUP_POINTS),
           Separator(),
           Check("Control Points", ID_VIEW_CONTROL_POINTS),
           Separator(),
           Check("Centreline", ID_VIEW_CENTRELINE),
           Check("Scale", ID_VIEW_SCALE),
           Separator(),
           {MenuItemKind::Submenu,
            "Height",
            0,
            {Check("800m", ID_VIEW_HEIGHT_800), Check("400m", ID_VIEW_HEIGHT_400),
             Check("200m", ID_VIEW_HEIGHT_200), Check("100m", ID_VIEW_HEIGHT_100),
             Check("50m", ID_VIEW_HEIGHT_50)}},
           Separator(),
           Command("Refresh\tF5", ID_VIEW_REFRESH),
           Separator(),
           Check("&Status Bar", ID_VIEW_STATUS_BAR)}};
}

MenuPopup EditMenu(MenuKind kind) {
  MenuPopup edit{"&Edit",
                 {Command("Set &Value...", ID_EDIT_SET_VALUE), Command("&Adjust...", ID_EDIT_ADJUST),
                  Command("&Scale...", ID_EDIT_SCALE), Command("&Ramp", ID_EDIT_RAMP), Separator()}};
  if (kind == MenuKind::Lp) {
    edit.Items.push_back(Command("Generate Curve...", ID_GENERATE_CURVE));
    edit.Items.push_back(Separator());
    edit.Items.push_back(Command("Cut\tCtrl+X", CMD_EDIT_CUT));
    edit.Items.push_back(Command("Copy\tCtrl+C", CMD_EDIT_COPY));
    edit.Items.push_back(Command("Paste\tCtrl+V", CMD_EDIT_PASTE));
  } else {
    edit.Items.push_back(Command("Generate Lp...", ID_GENERATE_LP));
    edit.Items.push_back(Separator());
    // Ctrl+C and Ctrl+V copy and paste grid cells here as everywhere; a shortcut in
    // these labels would rebind them to the control points.
    edit.Items.push_back(Command("Copy Control Points", ID_COPY_CONTROL_POINTS));
    edit.Items.push_back(Command("Paste Control Points", ID_PASTE_CONTROL_POINTS));
  }
  return edit;
}

MenuPopup WindowMenu() {
  return {"&Window", {Command("&Next", CMD_WINDOW_NEXT), Command("&Previous", CMD_WINDOW_PREVIOUS)}};
}

MenuPopup DocumentHelpMenu() { return {"&Help", {Command("&About Velmar...", CMD_APP_ABOUT)}}; }
} // namespace

std::vector<MenuPopup> GetMenuTable(MenuKind kind) {
  switch (kind) {
  case MenuKind::Main:
    return {FileMenu(kind),
            StatusBarOnly(),
            {"&Help", {Command("&About Velmar...", CMD_APP_ABOUT), Command("Help\tF1", ID_HELP_CONTENTS)}}};
  case MenuKind::Track:
    return {FileMenu(kind), TrackViewMenu(), WindowMenu(), DocumentHelpMenu()};
  case MenuKind::Lp:
  case MenuKind::LapCurve:
    return {FileMenu(kind), EditMenu(kind), StatusBarOnly(), WindowMenu(), DocumentHelpMenu()};
  }
  return {};
}

const std::vector<Accelerator>& GetAcceleratorTable() {
  static const std::vector<Accelerator> table = {
      {{true, false, false, "C"}, CMD_EDIT_COPY},        {{true, false, false, "Insert"}, CMD_EDIT_COPY},
      {{true, false, false, "X"}, CMD_EDIT_CUT},         {{false, true, false, "Delete"}, CMD_EDIT_CUT},
      {{true, false, false, "V"}, CMD_EDIT_PASTE},       {{false, true, false, "Insert"}, CMD_EDIT_PASTE},
      {{true, false, false, "Z"}, CMD_EDIT_UNDO},        {{false, false, true, "Back"}, CMD_EDIT_UNDO},
      {{true, false, false, "N"}, CMD_FILE_NEW},         {{true, false, false, "O"}, CMD_FILE_OPEN},
      {{true, false, false, "S"}, CMD_FILE_SAVE},        {{false, false, false, "F6"}, ID_NEXT_PANE},
      {{false, true, false, "F6"}, ID_PREV_PANE},        {{false, false, false, "F5"}, ID_VIEW_REFRESH},
      {{false, false, false, "F1"}, ID_HELP_CONTENTS},
  };
  return table;
}

KeyStroke ParseLabelShortcut(const std::string& label) {
  KeyStroke keys;
  const auto tab = label.find('\t');
  if (tab == std::string::npos)
    return keys;
  std::string rest = label.substr(tab + 1);
  for (;;) {
    const auto plus = rest.find('+');
    if (plus == std::string::npos || plus + 1 == rest.size())
      break;
    const std::string modifier = rest.substr(0, plus);
    if (modifier == "Ctrl")
      keys.Ctrl = true;
    else if (modifier == "Shift")
      keys.Shift = true;
    else if (modifier == "Alt")
      keys.Alt = true;
    else
      break;
    rest = rest.substr(plus + 1);
  }
  keys.Key = rest;
  return keys;
}

} // namespace Ostra::DocView
