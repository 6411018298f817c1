#pragma once
// Everything the field and battle frames draw of the 3D world. Field frame: DrawGround,
// DrawCharacters, DrawBillboards, then cull counter-clockwise for the message windows. Battle
// frame: DrawBattleScene, SampleWeaponTrail, DrawWeaponTrail, then the battle's displays (among
// them DrawActorMarker while its menu is up).
#include "world/scene_billboards.h"
#include "world/scene_characters.h"
#include "world/scene_ground.h"
#include "world/scene_marker.h"
#include "world/scene_objects.h"
#include "world/scene_sky.h"
#include "world/scene_trail.h"
#include "world/scene_view.h"
#include "world/scene_weapon.h"
