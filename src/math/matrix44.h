#pragma once

// 4 x 4 matrix of row vectors: element m[r][c], translation in row 3.
// A product A x B applies A first, then B.
struct Matrix44 {
    float m[4][4];
};
