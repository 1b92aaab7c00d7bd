// One step of the depth scan: reading the cells around the scan cell and drawing its piece.
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace view {

// Steps 1 and 2: the three cells around the scan cell, doors and keys seen as walls (the door
// and the key ahead raise doorAhead and keyAhead). Outside the rows and columns 1..N-1 the
// strings of the previous step stay.
void read_cells(svc::ErrorSink& errors, game::GameState& st);

// Step 6: the nine cases of a cell, by its left, right and ahead strings (O open, W wall); the
// exit case looks only ahead. The strings let at most one case match, and a side cell holding
// anything else (the exit, a cell never written) matches none.
void draw_cell(svc::Services& sv, game::GameState& st);

} // namespace view
