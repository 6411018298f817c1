#pragma once
#include <string_view>

class RZ_Model;

// rok models: text in lines that end at a carriage return, with sections of points, edges,
// polygons (each a ring of edges) and 13 material colours. No texture coordinates and no
// skeleton. With readEdges the mesh keeps the edges as 2-corner faces before the polygons.
bool ImportRok(RZ_Model& model, const char* fileName, void* ownerWindow, bool readEdges);

// The same on a file already in memory (the model is reset first).
bool ImportRokText(RZ_Model& model, std::string_view text, bool readEdges);
