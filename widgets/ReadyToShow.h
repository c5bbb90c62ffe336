#pragma once

class QWidget;

// Does for a hidden widget, and for the children it shows, what its first
// show does before it is seen: polishes them, sends them the move and resize
// events their geometry left pending while hidden, lays them out, and draws
// them once off screen (their styles, pictures and fonts loaded). Showing it
// later then costs what showing it again does. Nothing appears on screen.
void MakeReadyToShow(QWidget* widget);
