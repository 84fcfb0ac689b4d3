#pragma once
// Loads the five cell pictures from the program's resources, as the
// start-up does, for the tests and benchmarks that draw.
void LadeZellbilder();
