#include "Velmar/App/VelmarApp.h"

wxIMPLEMENT_APP(Ostra::Velmar::CVelmarApp);
