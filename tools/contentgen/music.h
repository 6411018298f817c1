#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "source_text.h"

// Music written as notes (docs/content.md, "Music"): a song file names the music, its tempo,
// where its loop starts, and voices with a waveform, a volume and a line of notes. The builder
// renders it to PCM, encodes it as FLAC through libsndfile, and lists it in the music list
// with the loop points in sample frames.

struct Song {
    std::string name;    // as the game asks for it ("btl0", "win", ...)
    std::string file;    // under BGM/, ".flac"
    double tempo = 120;  // beats per minute
    int rate = 22050;
    double loopBeat = 0;  // where the loop starts, in beats; negative: plays once
    struct Note {
        double frequency = 0;  // 0: rest
        double beats = 1;
    };
    struct Voice {
        std::string wave = "square";
        double volume = 0.3;
        std::vector<Note> notes;
    };
    std::vector<Voice> voices;

    // Length in beats of the longest voice.
    double Beats() const;
    int64_t BeatToFrame(double beat) const;
};

bool ParseSong(std::string_view text, const std::string& fileName, Song& out, Diagnostics& diag);
// Frequency of a note name like "C4", "F#3", "Bb5"; false when it is not one.
bool NoteFrequency(std::string_view name, double& hz);
// Mono samples in [-1, 1].
std::vector<float> RenderSong(const Song& song);
// FLAC bytes of 16-bit mono samples; empty with an error when libsndfile refuses.
std::string EncodeFlac(const std::vector<int16_t>& samples, int rate, std::string& error);
// One line of the music list for the song.
std::string MusicListLine(const Song& song);
