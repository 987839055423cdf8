// Scenes '6' and '7': the standard and the shifted gear laid over each other.
#include "app/scenes.hpp"

void scene_one_tooth() {}
void scene_whole_gear() {}
