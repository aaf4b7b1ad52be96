#pragma once

namespace Ostra::Test {

// Starts wxWidgets once per process on the X display (the test command runs the suite
// under Xvfb). False when there is no display; window tests then skip.
bool StartWx(const char* program_name = "VelmarGuiTests");

// Lets pending events and idle handlers run, as the main loop would between inputs.
void SettleWx();

} // namespace Ostra::Test
