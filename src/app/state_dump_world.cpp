// The state dump's world: the camera and its scripted motion, the characters in use, the party and
// what it carries, the enemies of the next battles and the first record of each data table.
#include <cstring>

#include "app/state_dump_sections.h"
#include "battle/battle.h"
#include "world/character.h"
#include "world/data_tables.h"
#include "world/field_camera.h"
#include "world/inventory.h"
#include "world/party.h"

namespace {

nlohmann::json DumpCamera() {
    const Camera& c = g_Camera;
    nlohmann::json keys = nlohmann::json::array();
    for (int k = 0; k < kCameraKeyCount; ++k) {
        if (!c.keySet[k]) continue;
        const CameraKey& key = c.keys[k];
        keys.push_back({{"index", k},
                        {"frames", key.frames},
                        {"distance", key.distance},
                        {"angle", key.angle},
                        {"eyeY", key.eyeY},
                        {"target", DumpVector(key.target)},
                        {"mode", HandlerName(key.mode)}});
    }
    return {{"eye", DumpVector(c.eye)},
            {"target", DumpVector(c.target)},
            {"angle", c.angle},
            {"distance", c.distance},
            {"keyIndex", c.keyIndex},
            {"framesLeft", c.framesLeft},
            {"handler", HandlerName(c.handler)},
            {"keys", keys}};
}

nlohmann::json DumpCharacter(int index, const Character& c) {
    return {{"index", index},
            {"active", c.active},
            {"fileName", DumpText(c.fileName, sizeof c.fileName)},
            {"position", DumpVector(c.position)},
            {"rotation", DumpVector(c.rotation)},
            {"scale", DumpVector(c.scale)},
            {"motionFlags", c.motionFlags},
            {"collisionSize", c.collisionSize}};
}

nlohmann::json DumpFighter(const FighterRecord& f) {
    return {{"name", DumpText(f.name, sizeof f.name)},
            {"hp", f.hp},
            {"maxHp", f.maxHp},
            {"mp", f.mp},
            {"maxMp", f.maxMp},
            {"weapon", f.weapon}};
}

// What the party carries: goods by record (with the record's name) and weapons by number.
nlohmann::json DumpInventory() {
    nlohmann::json goods = nlohmann::json::array();
    for (const auto& [record, count] : g_GoodsStock.Held())
        goods.push_back({{"record", record},
                         {"name", DumpText(Goods[record].name, sizeof Goods[record].name)},
                         {"count", count}});
    nlohmann::json weapons = nlohmann::json::array();
    for (const auto& [number, count] : g_WeaponStock.Held())
        weapons.push_back({{"weapon", number}, {"count", count}});
    return {{"goods", goods}, {"weapons", weapons}};
}

}  // namespace

void DumpWorldSection(nlohmann::json& j) {
    j["camera"] = DumpCamera();
    j["character0"] = {{"position", DumpVector(g_Characters[0].position)},
                       {"rotation", DumpVector(g_Characters[0].rotation)}};
    nlohmann::json characters = nlohmann::json::array();
    for (int i = 0; i < kCharacterCount; ++i)
        if (g_Characters[i].active) characters.push_back(DumpCharacter(i, g_Characters[i]));
    j["g_Characters"] = characters;
    nlohmann::json party = nlohmann::json::array();
    for (const FighterRecord& m : g_PartyMembers) party.push_back(DumpFighter(m));
    j["g_PartyMembers"] = party;
    j["g_PartyOrder"] = g_PartyOrder;
    j["inventory"] = DumpInventory();
    j["g_EnemySet"] = g_EnemySet;
}

void DumpTablesSection(nlohmann::json& j) {
    nlohmann::json techniques = nlohmann::json::array();
    for (int n = 0; n < kTechniqueTableCount; ++n) {
        const TechniqueTable& t = TechniqueTables[n];
        const TechniqueRecord& r = t[0];
        techniques.push_back({{"count", t.Count()},
                              {"name", DumpText(r.name, sizeof r.name)},
                              {"number", r.number},
                              {"flags", r.flags}});
    }
    j["TechniqueTables"] = techniques;
    const MenuEntryRecord& menu = MenuEntries[0];
    j["MenuEntries"] = {{"count", MenuEntries.Count()},
                        {"name", DumpText(menu.name, sizeof menu.name)},
                        {"help", DumpText(menu.help, sizeof menu.help)}};
    const GoodsRecord& goods = Goods[0];
    j["Goods"] = {{"count", Goods.Count()},
                  {"name", DumpText(goods.name, sizeof goods.name)},
                  {"third", goods.third},
                  {"fourth", goods.fourth}};
}
