#include "music.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "audio_synth.h"

double Song::Beats() const {
    double longest = 0;
    for (const Voice& v : voices) {
        double sum = 0;
        for (const Note& n : v.notes) sum += n.beats;
        longest = std::max(longest, sum);
    }
    return longest;
}

int64_t Song::BeatToFrame(double beat) const {
    return int64_t(std::llround(beat * 60.0 / tempo * rate));
}

bool NoteFrequency(std::string_view name, double& hz) {
    static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G from C
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') return false;
    int semitone = kSemitone[name[0] - 'A'];
    size_t i = 1;
    if (name[i] == '#')
        ++semitone, ++i;
    else if (name[i] == 'b')
        --semitone, ++i;
    if (i + 1 != name.size() || name[i] < '0' || name[i] > '8') return false;
    const int midi = (name[i] - '0' + 1) * 12 + semitone;
    hz = 440.0 * std::pow(2.0, (midi - 69) / 12.0);
    return true;
}

bool ParseSong(std::string_view text, const std::string& file, Song& song, Diagnostics& diag) {
    const size_t before = diag.Messages().size();
    for (const SourceLine& line : SplitLines(text)) {
        std::string t = StripComment(line.text);
        if (t.empty()) continue;
        std::vector<std::string> w = SplitWords(t);
        double v = 0;
        if (w[0] == "name" && w.size() == 2) {
            song.name = w[1];
        } else if (w[0] == "file" && w.size() == 2) {
            song.file = w[1];
        } else if (w[0] == "tempo" && w.size() == 2 && ParseDouble(w[1], v) && v > 0) {
            song.tempo = v;
        } else if (w[0] == "loop" && w.size() == 2 && ParseDouble(w[1], v)) {
            song.loopBeat = v;
        } else if (w[0] == "once" && w.size() == 1) {
            song.loopBeat = -1;
        } else if (w[0] == "voice") {
            Song::Voice voice;
            Options o(w, 1, file, line.number, diag);
            voice.wave = o.Text("wave", voice.wave);
            voice.volume = o.Number("vol", voice.volume);
            Wave check;
            if (!ParseWave(voice.wave, check))
                diag.Error(file, line.number, "unknown wave " + voice.wave);
            o.CheckUnused();
            song.voices.push_back(voice);
        } else if (w[0] == "notes") {
            if (song.voices.empty()) {
                diag.Error(file, line.number, "notes before the first voice");
                continue;
            }
            // Each word is NOTE:BEATS or r:BEATS (a rest); '|' marks bars for the reader.
            for (size_t i = 1; i < w.size(); ++i) {
                if (w[i] == "|") continue;
                size_t colon = w[i].find(':');
                Song::Note note;
                bool good = colon != std::string::npos &&
                            ParseDouble(w[i].substr(colon + 1), note.beats) && note.beats > 0;
                std::string pitch = w[i].substr(0, colon);
                if (good && pitch != "r") good = NoteFrequency(pitch, note.frequency);
                if (!good) {
                    diag.Error(file, line.number, "a note is NAME:BEATS or r:BEATS, not " + w[i]);
                    continue;
                }
                song.voices.back().notes.push_back(note);
            }
        } else {
            diag.Error(file, line.number, "unknown line: " + w[0]);
        }
    }
    if (song.name.empty() || song.file.empty())
        diag.Error(file, 0, "a song needs a name and a file");
    if (song.voices.empty()) diag.Error(file, 0, "a song needs a voice");
    if (song.loopBeat >= song.Beats() && song.Beats() > 0)
        diag.Error(file, 0, "the loop starts after the end");
    return diag.Messages().size() == before;
}

std::vector<float> RenderSong(const Song& song) {
    const size_t total = size_t(song.BeatToFrame(song.Beats()));
    std::vector<float> mix(total, 0.0f);
    const double rate = song.rate;
    for (size_t vi = 0; vi < song.voices.size(); ++vi) {
        const Song::Voice& voice = song.voices[vi];
        Wave wave = Wave::Square;
        ParseWave(voice.wave, wave);
        uint32_t state = 0x1234567u + uint32_t(vi) * 977u;
        double beat = 0;
        for (const Song::Note& note : voice.notes) {
            const size_t start = size_t(song.BeatToFrame(beat));
            beat += note.beats;
            const size_t end = std::min(total, size_t(song.BeatToFrame(beat)));
            if (note.frequency <= 0) continue;
            const double length = double(end - start) / rate;
            double phase = 0;
            for (size_t i = start; i < end; ++i) {
                const double t = double(i - start) / rate;
                // Short attack, gentle decay, and a release that ends inside the note.
                double env = std::min(1.0, t / 0.006) * (0.65 + 0.35 * std::exp(-t * 6.0));
                env *= std::min(1.0, (length - t) / 0.03);
                mix[i] += float(Oscillator(wave, float(phase), state) * env * voice.volume);
                phase += note.frequency / rate;
                phase -= std::floor(phase);
            }
        }
    }
    return mix;
}

namespace {

struct MemoryFile {
    std::string bytes;
    sf_count_t pos = 0;
};

sf_count_t VLength(void* user) {
    return sf_count_t(static_cast<MemoryFile*>(user)->bytes.size());
}
sf_count_t VSeek(sf_count_t offset, int whence, void* user) {
    auto* f = static_cast<MemoryFile*>(user);
    sf_count_t base = whence == SEEK_SET   ? 0
                      : whence == SEEK_CUR ? f->pos
                                           : sf_count_t(f->bytes.size());
    f->pos = std::max<sf_count_t>(0, base + offset);
    return f->pos;
}
sf_count_t VRead(void* ptr, sf_count_t count, void* user) {
    auto* f = static_cast<MemoryFile*>(user);
    sf_count_t n = std::clamp<sf_count_t>(sf_count_t(f->bytes.size()) - f->pos, 0, count);
    std::memcpy(ptr, f->bytes.data() + f->pos, size_t(n));
    f->pos += n;
    return n;
}
sf_count_t VWrite(const void* ptr, sf_count_t count, void* user) {
    auto* f = static_cast<MemoryFile*>(user);
    if (size_t(f->pos + count) > f->bytes.size()) f->bytes.resize(size_t(f->pos + count));
    std::memcpy(f->bytes.data() + f->pos, ptr, size_t(count));
    f->pos += count;
    return count;
}
sf_count_t VTell(void* user) {
    return static_cast<MemoryFile*>(user)->pos;
}

}  // namespace

std::string EncodeFlac(const std::vector<int16_t>& samples, int rate, std::string& error) {
    MemoryFile file;
    SF_VIRTUAL_IO io{VLength, VSeek, VRead, VWrite, VTell};
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    SNDFILE* sf = sf_open_virtual(&io, SFM_WRITE, &info, &file);
    if (!sf) {
        error = std::string("libsndfile: ") + sf_strerror(nullptr);
        return {};
    }
    sf_count_t written = sf_write_short(sf, samples.data(), sf_count_t(samples.size()));
    sf_close(sf);
    if (written != sf_count_t(samples.size())) {
        error = "libsndfile wrote " + std::to_string(written) + " of " +
                std::to_string(samples.size()) + " samples";
        return {};
    }
    return file.bytes;
}

std::string MusicListLine(const Song& song) {
    std::string line = song.name + " " + song.file;
    if (song.loopBeat < 0) {
        line += " -1";
    } else if (song.loopBeat > 0) {
        // The loop runs from its start to the end of the track (loop end 0).
        line += " " + std::to_string(song.BeatToFrame(song.loopBeat)) + " 0";
    }
    return line;
}
