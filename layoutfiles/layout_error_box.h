// How the programs show a refused layout: the reader's message in its message box.
#pragma once

#include "layoutfiles/layout_error.h"

// Shows the message box for `error` and returns when it is dismissed; nothing for NoLayoutError.
void ShowLayoutError(const LayoutError& error);
