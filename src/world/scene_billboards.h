#pragma once

// The 24 billboards that have an image: each a picture turned to the camera, its bottom edge
// at its position, blended, with its own depth compare. Blending is off and the depth compare
// back to less-or-equal afterwards.
void DrawBillboards();
