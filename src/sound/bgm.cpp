#include "sound/bgm.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "base/diagnostics.h"
#include "base/game_file.h"
#include "base/message_box.h"
#include "base/paths.h"
#include "base/report_once.h"
#include "base/sjis.h"
#include "sound/bgm_list.h"
#include "sound/music_stream.h"
#include "sound/sound.h"

namespace {

constexpr const char* kBgmListName = "BGMData";
constexpr size_t kMaxListBytes = 1 << 20;

std::string g_BgmName;
std::unique_ptr<BgmList> g_BgmList;
bool g_BgmListFailed = false;
MusicStream g_BgmStream;
ReportOnce g_BgmReported(1000);

// Said at the place that asked for the music (a script command, a line of the title file).
void SayOnce(const std::string& key, const std::string& line,
             const SourcePlace& at = RunningPlace()) {
    if (g_BgmReported.First(key)) Diagnose(at, "music: " + line);
}

std::string Format(const char* pattern, const char* a, const std::string& b) {
    std::string out(std::string(a).size() + b.size() + 32, '\0');
    int n = std::snprintf(out.data(), out.size(), pattern, a, b.c_str());
    out.resize(n > 0 ? size_t(n) : 0);
    return out;
}

std::string ListPath() {
    return Format("%sBGM\\%s.qd", GetBasePath(), kBgmListName);
}

const BgmList* MusicList() {
    if (g_BgmList) return g_BgmList.get();
    if (g_BgmListFailed) return nullptr;
    std::string path = ListPath();
    const FileRead file = ReadGameFile(path, kMaxListBytes);
    if (!file.Ok()) {
        g_BgmListFailed = true;
        RZ_MsgBox("Error to load BGMData!",
                  "the music list " + ShownPath(path) + " cannot be read; no music plays");
        return nullptr;
    }
    CheckDataText(file.bytes, path);
    NameEmptyFile(file.bytes, path, "no music plays");
    g_BgmList = std::make_unique<BgmList>(ParseBgmList(file.bytes));
    for (int line : g_BgmList->badLines)
        SayOnce("line" + std::to_string(line),
                ToUtf8(path) + ": line " + std::to_string(line) + " skipped", SourcePlace{});
    // The music buffer keeps its loop points as 32-bit byte offsets.
    for (const BgmEntry& e : g_BgmList->entries)
        for (const int64_t frame : {e.loopStart, e.loopEnd})
            if (frame > INT32_MAX)
                Diagnose(SourcePlace{ShownPath(path), e.line},
                         "the loop point " + std::to_string(frame) + " of \"" + ToUtf8(e.name) +
                             "\" is past any track the engine plays (at most 2147483647 "
                             "sample frames)");
    return g_BgmList.get();
}

int64_t FramesFor(int64_t ms) {
    return int64_t(g_BgmStream.Format().samplesPerSec) * ms / 1000;
}

}  // namespace

const std::string& CurrentBgmName() {
    return g_BgmName;
}

void StopBgm() {
    ReleaseSoundBuffer(&g_BgmBuffer);
    g_BgmStream.Close();
    g_BgmLoopOn = 0;
    g_BgmLoopStart = 0;
    g_BgmLoopEnd = 0;
}

void ResetBgm() {
    StopBgm();
    g_BgmName.clear();
    g_BgmList.reset();
    g_BgmListFailed = false;
    g_BgmReported.Reset();
}

void PlayBgm(std::string_view nameIn) {
    std::string name(nameIn.substr(0, std::min(nameIn.size(), kMaxBgmNameLength)));
    if (g_BgmBuffer && SameBgmName(name, g_BgmName) && g_BgmBuffer->IsPlaying()) return;
    StopBgm();
    g_BgmName = name;
    if (!g_pDS || name.empty()) return;
    const BgmList* list = MusicList();
    if (!list) return;
    const BgmEntry* entry = FindBgm(*list, name);
    if (!entry) {
        SayOnce("name:" + name, "no music named \"" + ToUtf8(name) + "\" in the music list " +
                                    ShownPath(ListPath()));
        return;
    }
    std::string path = Format("%sBGM\\%s", GetBasePath(), entry->file);
    std::string native = ResolveGamePath(path);
    std::string error;
    if (native.empty() ||
        !g_BgmStream.Open(native, entry->loop, entry->loopStart, entry->loopEnd, &error)) {
        SayOnce("file:" + path,
                "cannot play " + ToUtf8(path) + (error.empty() ? "" : ": ") + error);
        return;
    }
    if (g_BgmStream.CutShort())
        SayOnce("short:" + path, ToUtf8(path) +
                                     " holds fewer samples than its header says (cut short?): "
                                     "its end plays as silence");
    if (!g_BgmStream.LoopNote().empty())
        SayOnce("loop:" + name,
                "\"" + ToUtf8(name) + "\" (" + ToUtf8(entry->file) + "): " + g_BgmStream.LoopNote(),
                SourcePlace{ShownPath(ListPath()), entry->line});
    SoundBufferDesc desc;
    desc.flags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    desc.bufferBytes = g_BgmStream.TotalBytes();
    desc.format = g_BgmStream.Format();
    std::vector<uint8_t> first;
    g_BgmStream.Decode(FramesFor(kBgmStartDecodeMs), first);
    g_BgmBuffer = g_pDS->CreateSoundBuffer(desc, first.data(), first.size());
    if (!g_BgmBuffer) {
        g_BgmStream.Close();
        SayOnce("buffer:" + path, "no buffer for " + ToUtf8(path));
        return;
    }
    if (g_BgmStream.Done()) g_BgmStream.Close();
    g_BgmBuffer->SetPlayerGain(g_MusicGain);
    g_BgmLoopOn = entry->loop ? 1 : 0;
    g_BgmLoopStart = g_BgmStream.LoopStartBytes();
    g_BgmLoopEnd = g_BgmStream.LoopEndBytes();
    g_BgmBuffer->Play(0, entry->loop ? DSBPLAY_LOOPING : 0);
}

void FeedBgm() {
    if (!g_BgmStream.IsOpen()) return;
    if (!g_BgmBuffer) {
        g_BgmStream.Close();
        return;
    }
    std::vector<uint8_t> piece;
    g_BgmStream.Decode(FramesFor(kBgmFeedDecodeMs), piece);
    g_BgmBuffer->AppendData(piece.data(), piece.size());
    if (g_BgmStream.Done()) g_BgmStream.Close();
}

void ChangeBgmBuffer(int32_t what, char op, int32_t value) {
    if (!g_BgmBuffer) return;
    if (what == 0) {
        int32_t current = 0;
        g_BgmBuffer->GetVolume(&current);
        int64_t v = op == '=' ? value : int64_t(current) + value;
        g_BgmBuffer->SetVolume(
            static_cast<int32_t>(std::clamp<int64_t>(v, DSBVOLUME_MIN, DSBVOLUME_MAX)));
    } else if (what == 1) {
        uint32_t current = 0;
        g_BgmBuffer->GetFrequency(&current);
        if (op == '=' && value == 0) {
            g_BgmBuffer->SetFrequency(DSBFREQUENCY_ORIGINAL);
            return;
        }
        int64_t v = op == '=' ? value : int64_t(current) + value;
        g_BgmBuffer->SetFrequency(
            static_cast<uint32_t>(std::clamp<int64_t>(v, DSBFREQUENCY_MIN, DSBFREQUENCY_MAX)));
    }
}

int32_t GetBgmVolume() {
    int32_t v = 0;
    if (g_BgmBuffer) g_BgmBuffer->GetVolume(&v);
    return v;
}
