#pragma once
#include <string>

class GfxDevice;
class RZ_Model;

// Model formats of other modelling programs that RZ_Model::Load hands to an importer.
enum class RZ_ForeignFormat { Rok, Mqo, Mx, Cob, Count };

// An importer fills the (already reset) model and reports success; withEdges is the answer to
// the question whether edge data should be read (rok only).
using RZ_ImportFn = bool (*)(RZ_Model& model, GfxDevice* device, const char* fileName,
                             void* ownerWindow, bool withEdges);

// How a rok model's question whether to read its edges is answered. The engine's own way asks
// at every load; the player's settings may ask once a file (the answer kept until the program
// ends) or answer for the player.
enum class RokEdgeAnswer { kAskEachTime, kAsk, kYes, kNo };
extern RokEdgeAnswer g_RokEdgeAnswer;
// Forgets the answers kept for kAsk (tests).
void ForgetRokEdgeAnswers();
// Whether a rok file's edges are read, by g_RokEdgeAnswer: the question box or the answer.
bool ReadRokEdges(const std::string& fileName);

// Plugs an importer in instead of the engine's own (null puts the engine's own back).
void RZ_SetImporter(RZ_ForeignFormat format, RZ_ImportFn importer);
