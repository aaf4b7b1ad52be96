#pragma once

namespace Ostra::Test {

// Starts wxWidgets once per process on the X display (the test command runs the suite
// under Xvfb). False when there is no display; window tests then skip.
bool StartWx(const char* program_name = "VelmarGuiTests");

// False when no X display is named; else sets the environment the window tests run the
// toolkit in (the X11 backend, no accessibility bus, scroll bars that take room).
bool PrepareWxEnvironment();

// Lets pending events and idle handlers run, as the main loop would between inputs.
void SettleWx();

} // namespace Ostra::Test
