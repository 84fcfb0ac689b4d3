#pragma once
// Builds a random player's fleet the way a player does: cell by cell with
// CreatePoint and SetzePunkt, discarding a boat that cannot be finished.
class clsGrid;

// Fresh fields (the computer's fleet placed anew) and a complete player's
// fleet; false only if no fleet could be built in many attempts.
bool BaueSpielerFlotte(clsGrid &grid);
