#pragma once

#include <wx/accel.h>

#include "DocView/ChildFrames.h"
#include "DocView/Core/MenuTables.h"

namespace Ostra::Velmar {

// The menu bar of a window kind, with its recent-file submenu.
DocView::FrameMenu MakeMenuBar(DocView::MenuKind kind);

// The accelerator table of the main frame, which serves every child window.
wxAcceleratorTable MakeAcceleratorTable();

// The toolkit's id for a command of the tables (its own for the standard ones).
int ToWxCommand(int command);

} // namespace Ostra::Velmar
