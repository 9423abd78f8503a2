// The frame layer joins the engine: from then on the window hook follows the default manager
// (it comes with an active skin and goes with it), and forms of the layers below (the folder
// dialog) get their skin providers from the frame. Nothing below the frame names it, so a
// program that wants skinned windows joins once, before it makes its skin manager.
#pragma once

// Safe to call again: the frame joins once.
void acJoinFrame();
