// A snapshot to JSON and back. Each structure's fields are listed once, in Visit; a writer and a
// reader walk that list. The reader trusts nothing: every value must be there, of its kind and
// within its range, or the whole snapshot is refused with the path of the first bad value.
#include <cmath>
#include <limits>
#include <string>

#include "app/frame_handlers.h"
#include "app/game_snapshot.h"
#include "field/field_frame.h"
#include "field/menu_screen.h"
#include "gfx/backend.h"
#include "gfx/texture_slots.h"
#include "model/rz_model.h"
#include "script/qscr_org.h"
#include "sound/sound.h"
#include "ui/menu_list.h"
#include "ui/talk_window.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/field_info.h"
#include "world/field_tables.h"
#include "world/inventory.h"
#include "world/mode_words.h"
#include "world/party.h"

namespace {

using nlohmann::json;

// Byte strings as JSON strings of U+0000-U+00FF, one character a byte.
json BytesToJson(const std::string& bytes) {
    std::string utf8;
    for (unsigned char b : bytes) {
        if (b < 0x80) {
            utf8 += char(b);
        } else {
            utf8 += char(0xC0 | (b >> 6));
            utf8 += char(0x80 | (b & 0x3F));
        }
    }
    return utf8;
}

bool BytesFromJson(const std::string& utf8, std::string& bytes) {
    bytes.clear();
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = utf8[i];
        if (c < 0x80) {
            bytes += char(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size() &&
                   (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
            bytes += char(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

class Writer {
public:
    explicit Writer(json& j) : j_(j) { j_ = json::object(); }

    template <typename T>
    void Field(const char* key, const T& v, int64_t = 0, int64_t = 0) {
        j_[key] = Value(v);
    }
    void Field(const char* key, const SavedBytes& v, size_t = 0) { j_[key] = BytesToJson(v.bytes); }
    void Field(const char* key, const std::string& v) { j_[key] = v; }
    void Field(const char* key, const SavedVector& v) { j_[key] = {v.x, v.y, v.z}; }
    template <typename T, size_t N>
    void Field(const char* key, const std::array<T, N>& v, int64_t lo = 0, int64_t hi = 0) {
        json a = json::array();
        for (const T& e : v) a.push_back(Element(e, lo, hi));
        j_[key] = a;
    }
    template <typename T>
    void List(const char* key, const std::vector<T>& v, size_t = 0) {
        json a = json::array();
        for (const T& e : v) a.push_back(Element(e, 0, 0));
        j_[key] = a;
    }
    template <typename T>
    void OptionalList(const char* key, const std::vector<T>& v, size_t max) {
        List(key, v, max);
    }
    template <typename T>
    void Object(const char* key, const T& v) {
        j_[key] = Element(v, 0, 0);
    }
    bool Ok() const { return true; }

private:
    template <typename T>
    static json Value(const T& v) {
        return v;
    }
    template <typename T>
    static json Element(const T& v, int64_t lo, int64_t hi);

    json& j_;
};

class Reader {
public:
    Reader(const json& j, std::string path, std::string& reason)
        : j_(j), path_(std::move(path)), reason_(reason) {
        if (!j_.is_object()) Fail("", "is not an object");
    }

    // Integers within [lo, hi] (the type's own range when both are 0).
    template <typename T>
    void Field(const char* key, T& v, int64_t lo = 0, int64_t hi = 0) {
        const json* e = Find(key);
        if (e) ReadValue(*e, key, v, lo, hi);
    }
    void Field(const char* key, SavedBytes& v, size_t max = 255) {
        const json* e = Find(key);
        if (!e) return;
        if (!e->is_string() || !BytesFromJson(e->get<std::string>(), v.bytes))
            return Fail(key, "is not a byte string");
        if (v.bytes.size() > max) Fail(key, "is too long");
        if (v.bytes.find('\0') != std::string::npos) Fail(key, "holds a NUL");
    }
    void Field(const char* key, std::string& v) {
        const json* e = Find(key);
        if (!e) return;
        if (!e->is_string()) return Fail(key, "is not a string");
        v = e->get<std::string>();
        if (v.size() > 255) Fail(key, "is too long");
    }
    void Field(const char* key, SavedVector& v) {
        const json* e = Find(key);
        if (!e) return;
        if (!e->is_array() || e->size() != 3) return Fail(key, "is not three numbers");
        ReadValue((*e)[0], key, v.x, 0, 0);
        ReadValue((*e)[1], key, v.y, 0, 0);
        ReadValue((*e)[2], key, v.z, 0, 0);
    }
    template <typename T, size_t N>
    void Field(const char* key, std::array<T, N>& v, int64_t lo = 0, int64_t hi = 0) {
        const json* e = Find(key);
        if (!e) return;
        if (!e->is_array() || e->size() != N)
            return Fail(key, "is not a list of " + std::to_string(N));
        for (size_t i = 0; i < N && reason_.empty(); ++i)
            Element((*e)[i], std::string(key) + "[" + std::to_string(i) + "]", v[i], lo, hi);
    }
    template <typename T>
    void List(const char* key, std::vector<T>& v, size_t max) {
        const json* e = Find(key);
        if (!e) return;
        if (!e->is_array() || e->size() > max)
            return Fail(key, "is not a list of at most " + std::to_string(max));
        v.resize(e->size());
        for (size_t i = 0; i < v.size() && reason_.empty(); ++i)
            Element((*e)[i], std::string(key) + "[" + std::to_string(i) + "]", v[i], 0, 0);
    }
    // A list that saves written before it was kept do not have: missing, it is empty.
    template <typename T>
    void OptionalList(const char* key, std::vector<T>& v, size_t max) {
        if (reason_.empty() && j_.is_object() && !j_.contains(key)) {
            v.clear();
            return;
        }
        List(key, v, max);
    }
    template <typename T>
    void Object(const char* key, T& v) {
        const json* e = Find(key);
        if (e) Element(*e, key, v, 0, 0);
    }
    void Fail(const std::string& key, const std::string& what) {
        if (reason_.empty()) reason_ = (key.empty() ? path_ : Path(key)) + " " + what;
    }
    bool Ok() const { return reason_.empty(); }

private:
    std::string Path(const std::string& key) const {
        return path_.empty() ? key : path_ + "." + key;
    }

    const json* Find(const char* key) {
        if (!reason_.empty() || !j_.is_object()) return nullptr;
        const auto it = j_.find(key);
        if (it == j_.end()) {
            Fail(key, "is missing");
            return nullptr;
        }
        return &*it;
    }

    template <typename T>
    void ReadValue(const json& e, const std::string& key, T& v, int64_t lo, int64_t hi) {
        if constexpr (std::is_same_v<T, bool>) {
            if (!e.is_boolean()) return Fail(key, "is not true or false");
            v = e.get<bool>();
        } else if constexpr (std::is_floating_point_v<T>) {
            if (!e.is_number()) return Fail(key, "is not a number");
            const double d = e.get<double>();
            if (!std::isfinite(d) || std::fabs(d) > double(std::numeric_limits<float>::max()))
                return Fail(key, "is out of range");
            v = T(d);
        } else {
            if (!e.is_number_integer()) return Fail(key, "is not a whole number");
            if (lo == 0 && hi == 0) {
                lo = int64_t(std::numeric_limits<T>::min());
                hi = std::numeric_limits<T>::max() > uint64_t(INT64_MAX)
                         ? INT64_MAX
                         : int64_t(std::numeric_limits<T>::max());
            }
            if (e.is_number_unsigned()) {
                const uint64_t u = e.get<uint64_t>();
                if (u > uint64_t(hi)) return Fail(key, "is out of range");
                v = T(u);
                return;
            }
            const int64_t n = e.get<int64_t>();
            if (n < lo || n > hi) return Fail(key, "is out of range");
            v = T(n);
        }
    }

    template <typename T>
    void Element(const json& e, const std::string& key, T& v, int64_t lo, int64_t hi);

    const json& j_;
    std::string path_;
    std::string& reason_;
};

// The field lists. Ranges are the tables' sizes; values the engine keeps in bounds itself
// (positions, points, timers) only need to be numbers.

template <typename A, typename S>
void Visit(A& a, S& s);

template <typename A>
void VisitTrack(A& a, auto& t) {
    a.Field("bone", t.bone, 0, kRzMaxBones - 1);
    a.Field("current", t.current, 0, 1 << 20);
    a.Field("time", t.time);
    a.Field("segment", t.segment, 1, INT32_MAX);
}

template <typename A>
void VisitBone(A& a, auto& b) {
    a.Field("bone", b.bone, 0, kRzMaxBones - 1);
    a.Field("offset", b.offset);
    a.Field("worldPosition", b.worldPosition);
    a.Field("scale", b.scale);
    a.Field("worldScale", b.worldScale);
    a.Field("rotation", b.rotation);
    a.Field("worldRotation", b.worldRotation);
}

template <typename A>
void VisitCharacter(A& a, auto& c) {
    a.Field("slot", c.slot, 0, kCharacterCount - 1);
    a.Field("active", c.active);
    a.Field("fileName", c.fileName, kCharacterFileNameSize - 1);
    a.Field("hasModel", c.hasModel);
    a.List("animations", c.animations, kRzMaxAnimations);
    a.Field("currentAnimation", c.currentAnimation, 0, kRzMaxAnimations - 1);
    a.List("tracks", c.tracks, kRzMaxBones);
    a.List("bones", c.bones, kRzMaxBones);
    a.Field("queuedMotion", c.queuedMotion);
    a.Field("queuedLoop", c.queuedLoop);
    a.Field("motionFlags", c.motionFlags);
    a.Field("motionDirection", c.motionDirection);
    a.Field("motionClock", c.motionClock);
    a.Field("collisionSize", c.collisionSize);
    a.Field("fileValue", c.fileValue);
    a.Field("bladeLength", c.bladeLength);
    a.Field("position", c.position);
    a.Field("rotation", c.rotation);
    a.Field("scale", c.scale);
    a.Field("hasWeapon", c.hasWeapon);
    a.Field("hasGuard", c.hasGuard);
    a.Field("weaponMesh", c.weaponMesh);
    a.Field("guardMesh", c.guardMesh);
}

template <typename A>
void VisitFighter(A& a, auto& f) {
    a.Field("name", f.name, 23);
    a.Field("hp", f.hp);
    a.Field("maxHp", f.maxHp);
    a.Field("mp", f.mp);
    a.Field("maxMp", f.maxMp);
    a.Field("stats", f.stats, 1, 255);
    a.Field("statusByte", f.statusByte);
    a.Field("commands", f.commands);
    a.Field("techniques", f.techniques);
    a.Field("defaultAction", f.defaultAction);
    a.Field("weapon", f.weapon);
    a.Field("guard", f.guard);
}

template <typename A>
void VisitStock(A& a, auto& k) {
    a.Field("number", k.number, 0, kMaxTableRecords - 1);
    a.Field("count", k.count, 1, kStockMax);
}

template <typename A>
void VisitCameraKey(A& a, auto& k) {
    a.Field("frames", k.frames);
    a.Field("distance", k.distance);
    a.Field("angle", k.angle);
    a.Field("eyeY", k.eyeY);
    a.Field("target", k.target);
    a.Field("mode", k.mode);
}

template <typename A>
void VisitCamera(A& a, auto& c) {
    a.Field("eye", c.eye);
    a.Field("target", c.target);
    a.Field("angle", c.angle);
    a.Field("distance", c.distance);
    a.Field("keyIndex", c.keyIndex, 0, kCameraKeyCount);
    a.Field("framesLeft", c.framesLeft);
    a.Field("stepDistance", c.stepDistance);
    a.Field("stepAngle", c.stepAngle);
    a.Field("stepEyeY", c.stepEyeY);
    a.Field("stepTarget", c.stepTarget);
    a.Field("handler", c.handler);
    a.Field("keySet", c.keySet);
    a.Field("keys", c.keys);
    a.Field("viewMatrix", c.viewMatrix);
}

template <typename A>
void VisitBillboard(A& a, auto& b) {
    a.Field("image", b.image, -1, kTextureSlotCount - 1);
    a.Field("position", b.position);
    a.Field("widthScale", b.widthScale);
    a.Field("heightScale", b.heightScale);
    a.Field("red", b.red);
    a.Field("green", b.green);
    a.Field("blue", b.blue);
    a.Field("alpha", b.alpha);
    a.Field("depthFunc", b.depthFunc);
    a.Field("heightFactor", b.heightFactor);
}

template <typename A>
void VisitFieldObject(A& a, auto& o) {
    a.Field("kind", o.kind);
    a.Field("mesh", o.mesh, -1, kFieldMeshCount - 1);
    a.Field("colour", o.colour);
    a.Field("position", o.position);
    a.Field("rotation", o.rotation);
    a.Field("scale", o.scale);
}

template <typename A>
void VisitLight(A& a, auto& l) {
    a.Field("present", l.present);
    a.Field("type", l.type, 1, 3);
    a.Field("diffuse", l.diffuse);
    a.Field("specular", l.specular);
    a.Field("ambient", l.ambient);
    a.Field("position", l.position);
    a.Field("direction", l.direction);
    a.Field("range", l.range);
    a.Field("falloff", l.falloff);
    a.Field("attenuation0", l.attenuation0);
    a.Field("attenuation1", l.attenuation1);
    a.Field("attenuation2", l.attenuation2);
    a.Field("theta", l.theta);
    a.Field("phi", l.phi);
}

template <typename A>
void VisitDevice(A& a, auto& d) {
    a.List("renderStates", d.renderStates, kRenderStateCount);
    a.List("stageStates", d.stageStates, kTextureStageStateCount);
    a.Field("world", d.world);
    a.Field("view", d.view);
    a.Field("projection", d.projection);
    a.List("lights", d.lights, kMaxLights);
    a.Field("diffuse", d.diffuse);
    a.Field("ambient", d.ambient);
    a.Field("specular", d.specular);
    a.Field("emissive", d.emissive);
    a.Field("power", d.power);
}

template <typename A>
void VisitMesh(A& a, auto& m) {
    a.Field("present", m.present);
    a.Field("name", m.name);
    a.Field("directory", m.directory);
}

template <typename A>
void VisitListEntry(A& a, auto& e) {
    a.Field("text", e.text, kListTextSize - 1);
    a.Field("value", e.value);
}

template <typename A>
void VisitList(A& a, auto& l) {
    a.Field("entries", l.entries);
    a.Field("x", l.x);
    a.Field("y", l.y);
    a.Field("w", l.w);
    a.Field("h", l.h);
    a.Field("open", l.open);
    a.Field("first", l.first, 0, kListEntryCount - 1);
    a.Field("cursor", l.cursor, 0, kListEntryCount - 1);
    a.Field("page", l.page);
}

template <typename A>
void VisitTalkWindow(A& a, auto& t) {
    a.Field("text", t.text, kTalkTextSize - 1);
    a.Field("shown", t.shown);
    a.Field("open", t.open);
    a.Field("x", t.x);
    a.Field("y", t.y);
    a.Field("w", t.w);
    a.Field("h", t.h);
}

template <typename A>
void VisitScript(A& a, auto& s) {
    a.Field("pc", s.pc, 0, QScrOrg::kTextSize - 1);
    a.Field("running", s.running);
    a.Field("stepping", s.stepping);
    a.Field("iv", s.iv);
    a.Field("fv", s.fv);
    a.Field("str", s.str, QScrOrg::kStrSize - 1);
    a.Field("aux", s.aux);
    a.Field("actor", s.actor);
    a.Field("speed", s.speed);
}

template <typename A>
void VisitSnapshot(A& a, auto& s) {
    a.Field("frameProc", s.frameProc);
    a.Field("playTimeMs", s.playTimeMs);
    a.Field("randState", s.randState);
    a.Field("fieldName", s.fieldName, kFieldNameSize - 1);
    a.Field("fieldScriptName", s.fieldScriptName, 127);
    a.Field("fieldMusicName", s.fieldMusicName, kMusicNameSize - 1);
    a.Field("battleMusicName", s.battleMusicName, kMusicNameSize - 1);
    a.Field("music", s.music);
    a.Field("musicVolume", s.musicVolume);
    a.Field("scriptResumePos", s.scriptResumePos);
    a.Object("fieldScript", s.fieldScript);
    a.Field("walkAnimating", s.walkAnimating);
    a.Field("groundLighting", s.groundLighting);
    a.Field("lastCellX", s.lastCellX);
    a.Field("lastCellRow", s.lastCellRow);
    a.Field("fieldHandler", s.fieldHandler);
    a.Object("messageWindow", s.messageWindow);
    a.Field("talkWindows", s.talkWindows);
    a.Field("modeNow", s.modeNow);
    a.Field("modeNext", s.modeNext);
    a.Field("modeChangeRequest", s.modeChangeRequest);
    a.Field("encounterPending", s.encounterPending);
    a.Field("transitionCounter", s.transitionCounter);
    a.Field("resumeScriptAfterFade", s.resumeScriptAfterFade, 0, 255);
    a.Field("actionTimer", s.actionTimer);
    a.Field("fieldInputEnabled", s.fieldInputEnabled);
    a.Field("encounterRate", s.encounterRate);
    a.Field("enemySet", s.enemySet);
    a.Field("fade", s.fade);
    a.Field("textRect", s.textRect);
    a.Object("camera", s.camera);
    a.List("characters", s.characters, kCharacterCount);
    a.Field("party", s.party);
    a.Field("partyOrder", s.partyOrder);
    a.OptionalList("goods", s.goods, size_t(kMaxTableRecords));
    a.OptionalList("weapons", s.weapons, size_t(kWeaponKinds));
    a.Field("faceNames", s.faceNames);
    a.Field("billboards", s.billboards);
    a.Field("fieldObjects", s.fieldObjects);
    a.Field("fieldMeshes", s.fieldMeshes);
    a.Field("fieldLights", s.fieldLights);
    a.Field("textureSlots", s.textureSlots);
    a.Field("soundEffects", s.soundEffects);
    a.Object("device", s.device);
}

// One Visit per structure, for both walkers.
template <typename A, typename S>
void Visit(A& a, S& s) {
    using T = std::remove_const_t<S>;
    if constexpr (std::is_same_v<T, SavedTrack>)
        VisitTrack(a, s);
    else if constexpr (std::is_same_v<T, SavedBone>)
        VisitBone(a, s);
    else if constexpr (std::is_same_v<T, SavedCharacter>)
        VisitCharacter(a, s);
    else if constexpr (std::is_same_v<T, SavedFighter>)
        VisitFighter(a, s);
    else if constexpr (std::is_same_v<T, SavedStock>)
        VisitStock(a, s);
    else if constexpr (std::is_same_v<T, SavedCameraKey>)
        VisitCameraKey(a, s);
    else if constexpr (std::is_same_v<T, SavedCamera>)
        VisitCamera(a, s);
    else if constexpr (std::is_same_v<T, SavedBillboard>)
        VisitBillboard(a, s);
    else if constexpr (std::is_same_v<T, SavedFieldObject>)
        VisitFieldObject(a, s);
    else if constexpr (std::is_same_v<T, SavedLight>)
        VisitLight(a, s);
    else if constexpr (std::is_same_v<T, SavedMesh>)
        VisitMesh(a, s);
    else if constexpr (std::is_same_v<T, SavedDevice>)
        VisitDevice(a, s);
    else if constexpr (std::is_same_v<T, SavedListEntry>)
        VisitListEntry(a, s);
    else if constexpr (std::is_same_v<T, SavedList>)
        VisitList(a, s);
    else if constexpr (std::is_same_v<T, SavedTalkWindow>)
        VisitTalkWindow(a, s);
    else if constexpr (std::is_same_v<T, SavedScript>)
        VisitScript(a, s);
    else
        VisitSnapshot(a, s);
}

template <typename T>
json Writer::Element(const T& v, int64_t, int64_t) {
    if constexpr (std::is_arithmetic_v<T>) {
        return v;
    } else if constexpr (std::is_same_v<T, SavedBytes>) {
        return BytesToJson(v.bytes);
    } else if constexpr (requires {
                             v.size();
                             v[0];
                         }) {
        json a = json::array();
        for (const auto& e : v) a.push_back(Element(e, 0, 0));
        return a;
    } else {
        json j;
        Writer w(j);
        Visit(w, v);
        return j;
    }
}

template <typename T>
void Reader::Element(const json& e, const std::string& key, T& v, int64_t lo, int64_t hi) {
    if constexpr (std::is_arithmetic_v<T>) {
        ReadValue(e, key, v, lo, hi);
    } else if constexpr (std::is_same_v<T, SavedBytes>) {
        if (!e.is_string() || !BytesFromJson(e.get<std::string>(), v.bytes))
            return Fail(key, "is not a byte string");
        if (v.bytes.size() > 255 || v.bytes.find('\0') != std::string::npos)
            Fail(key, "is not a name");
    } else if constexpr (requires {
                             v.size();
                             v[0];
                         }) {
        if (!e.is_array() || e.size() != v.size())
            return Fail(key, "is not a list of " + std::to_string(v.size()));
        for (size_t i = 0; i < v.size() && reason_.empty(); ++i)
            Element(e[i], key + "[" + std::to_string(i) + "]", v[i], lo, hi);
    } else {
        Reader r(e, Path(key), reason_);
        Visit(r, v);
    }
}

// What a handler name may be in each place.
bool OneOf(const std::string& name, std::initializer_list<const char*> allowed) {
    for (const char* a : allowed)
        if (name == a) return true;
    return false;
}

bool CheckNames(const GameSnapshot& s, std::string& reason) {
    auto fail = [&](const std::string& what) {
        reason = what;
        return false;
    };
    if (!OneOf(s.frameProc, {"FieldFrame", "MenuScreenFrame"}))
        return fail("frameProc names no field mode");
    if (!OneOf(s.fieldHandler, {"NullFrameHook", "FieldFadeIn", "MenuFadeOut", "EncounterFadeOut"}))
        return fail("fieldHandler names no field handler");
    const auto cameraHandler = {"NullFrameHook", "CameraMoveView", "CameraMoveOrbit", "CameraPause",
                                "CameraHomeKey"};
    if (!OneOf(s.camera.handler, cameraHandler)) return fail("camera.handler names no motion");
    for (const SavedCameraKey& k : s.camera.keys)
        if (!OneOf(k.mode, cameraHandler) && k.mode != "none")
            return fail("camera.keys names no motion");
    for (const SavedStock& w : s.weapons)
        if (w.number >= kWeaponKinds)
            return fail("weapons names weapon " + std::to_string(w.number));
    for (const SavedBytes& face : s.faceNames)
        if (face.bytes.size() >= size_t(kFaceNameSize)) return fail("faceNames holds a long name");
    for (const SavedCharacter& c : s.characters)
        for (uint32_t a : c.animations)
            if (a >= uint32_t(kRzMaxAnimations)) return fail("characters names no motion slot");
    for (size_t i = 0; i < s.characters.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (s.characters[i].slot == s.characters[j].slot)
                return fail("characters holds slot " + std::to_string(s.characters[i].slot) +
                            " twice");
    return true;
}

}  // namespace

nlohmann::json SnapshotToJson(const GameSnapshot& s) {
    json j;
    Writer w(j);
    Visit(w, s);
    return j;
}

bool SnapshotFromJson(const json& j, GameSnapshot& out, std::string& reason) {
    reason.clear();
    GameSnapshot s;
    Reader r(j, "", reason);
    Visit(r, s);
    if (!r.Ok()) return false;
    if (!CheckNames(s, reason)) return false;
    out = std::move(s);
    return true;
}
