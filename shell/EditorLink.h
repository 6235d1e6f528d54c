#pragma once

#include "editor/Unit3.h"

class TForm1;

// This machine's values for a new row in the Database window: the overview
// fields, the drive selected on the HDD page and the own bars of the charts.
MachineValues MachineValuesOf(const TForm1& form);

// What the Database window takes from the main window and the application.
TForm3Services EditorServices(TForm1& form);
